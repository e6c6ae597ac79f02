//<META /> A branch of the product-line factory for a binding unit linked dynamically: its library makes the layer object.
	if (<LAYER_NAME_TEST>)
		return DynamicLinkFeature::Load("<LAYER_NAME>");
