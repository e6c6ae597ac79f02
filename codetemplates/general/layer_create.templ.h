//<META /> A branch of the product-line factory for a binding unit that is linked with the program.
	if (std::strcmp(name, "<LAYER_SHORT_NAME>") == 0 || std::strcmp(name, "<LAYER_NAME>") == 0)
		return new <LAYER_NAME>;
