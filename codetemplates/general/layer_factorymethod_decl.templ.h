//<META /> Declaration of a factory method of a layer class; <CLASS_INTERFACE /> is the composed class, <METHOD_NAME /> "New_" and its name.
	virtual <CLASS_INTERFACE />* <METHOD_NAME />(<CTOR_ARG_DECL />)
