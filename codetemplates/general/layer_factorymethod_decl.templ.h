//<META /> Declaration of a factory method of a layer class, with the role function that returns its object; <CLASS_INTERFACE /> is the composed class, <METHOD_NAME /> "New_" and its name.
	<CLASS_INTERFACE />* <METHOD_NAME />_Role() { return <METHOD_NAME />(); }
	virtual <CLASS_INTERFACE />* <METHOD_NAME />(<CTOR_ARG_DECL />)
