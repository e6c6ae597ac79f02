//<META /> Default constructor of the top module of a class composed per binding unit.
public: inline <CLASS_NAME />(<INTERFACE_NAME />* pFinal, <SPL_NAME />& spl) {}