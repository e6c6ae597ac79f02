//<META /> Factory method of a layer class: the object of <CLASS_NAME /> in this binding unit, on top of the object of the unit below when there is one.
<CLASS_INTERFACE />* <LAYER_NAME />::<METHOD_NAME />(<CTOR_ARG_DECL />)
{
	<CLASS_NAME />* object = new <CLASS_NAME />(0, GetSPL()<CTOR_ARGS />);
	object->SetSplPtr(GetSPL());
//<IF_SUPER />	object->SetSuper(GetSuperDecorator()-><METHOD_NAME />(<CTOR_ARGS />));
	return object;
}
