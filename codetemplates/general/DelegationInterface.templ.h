//<META /> Interface and decorator of a class composed per binding unit. <INTERFACE_NAME> is the class, <DECORATOR_NAME> the decorator its per-unit classes derive from, <LAYER_INTERFACE_NAME> the product-line interface; "//<IF_BASE>" lines are code when the class derives from a class composed per binding unit, <BASE_NAME>.
<INCLUDES>
class <DECORATOR_NAME>;

// The interface of <INTERFACE_NAME>: every method forwards to the version of
// the object in the next lower binding unit.
class <INTERFACE_NAME> <BASE_CLASSES>
{
public:
	virtual ~<INTERFACE_NAME>() {}
	virtual <INTERFACE_NAME>* GetSuper_<CLASS_NAME>() const = 0;
<INTERFACE_METHODS>
};

// The part every per-unit class of <INTERFACE_NAME> shares: the outermost
// object of the chain, the object of the unit below and the product line.
class <DECORATOR_NAME> : public <INTERFACE_NAME>
{
public:
	<DECORATOR_NAME>() : final(this), super(0), __SPL_PTR(0) {}
	// The object of the unit below belongs to this one: deleting the
	// outermost object deletes the whole chain, each part once.
	virtual ~<DECORATOR_NAME>() { delete super; }
	<DECORATOR_NAME>(<DECORATOR_NAME> const&) = delete;
	<DECORATOR_NAME>& operator=(<DECORATOR_NAME> const&) = delete;
	<INTERFACE_NAME>* final;
	<INTERFACE_NAME>* super;
	<LAYER_INTERFACE_NAME>* __SPL_PTR;
	<INTERFACE_NAME>* GetSuper_<CLASS_NAME>() const { return super; }
//<IF_BASE>	<BASE_NAME>* GetSuper_<BASE_NAME>() const { return super; }
	void SetFinal(<INTERFACE_NAME>* object) { final = object; }
	void SetSuper(<INTERFACE_NAME>* object) { super = object; }
	<LAYER_INTERFACE_NAME>& GetSPL() const { return *__SPL_PTR; }
	void SetSplPtr(<LAYER_INTERFACE_NAME>& spl) { __SPL_PTR = &spl; }
<DECORATOR_METHODS>
};
