//<META /> A branch of the product-line factory for a binding unit that is linked with the program.
	if (<LAYER_NAME_TEST>)
		return new <LAYER_NAME>;
