//<META /> A branch of the product-line factory for a binding unit linked dynamically: its library makes the layer object.
	if (std::strcmp(name, "<LAYER_SHORT_NAME>") == 0 || std::strcmp(name, "<LAYER_NAME>") == 0)
		return DynamicLinkFeature::Load("<LAYER_NAME>");
