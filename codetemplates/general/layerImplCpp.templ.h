//<META /> End of the source of a layer class; a unit linked dynamically exports a function that makes its layer object.
//<IF_DYNAMIC_LINK />extern "C" Feature* Create_<LAYER_NAME />() { return new <LAYER_NAME />; }
