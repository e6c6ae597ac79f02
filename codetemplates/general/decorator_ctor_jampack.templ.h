//<META /> Constructor parameter of a class composed in one binding unit; <CLASS_NAME /> is the module name, <LAYER /> the product-line interface.
<LAYER />& spl