//<META /> Constructor parameters of a class composed per binding unit; <CLASS_NAME /> is the module name, <LAYER /> the product-line interface.
<CLASS_NAME />* pFinal, <LAYER />& spl