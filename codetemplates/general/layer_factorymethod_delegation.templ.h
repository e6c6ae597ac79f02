//<META /> A factory method of the product-line interface: a binding unit that does not make <METHOD_NAME /> itself hands it to the unit below.
<METHOD_DECL /> { return GetSuperDecorator() ? GetSuperDecorator()-><METHOD_NAME />() : 0; }
