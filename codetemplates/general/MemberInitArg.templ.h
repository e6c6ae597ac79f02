//<META /> Argument for a member initialiser of a composed-class type.
spl