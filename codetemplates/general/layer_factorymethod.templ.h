//<META /> Factory method of a layer class: the object of <CLASS_NAME /> in this binding unit, wrapped around the object of the unit below when there is one; every object of the chain learns the outermost one.
<CLASS_INTERFACE />* <LAYER_NAME />::<METHOD_NAME />(<CTOR_ARG_DECL />)
{
	<CLASS_NAME />* object = new <CLASS_NAME />(0, GetFinal()<CTOR_ARGS />);
	object->SetSplPtr(GetFinal());
//<IF_SUPER />	<CLASS_INTERFACE />* inner = GetSuperDecorator() ? GetSuperDecorator()-><METHOD_NAME />(<CTOR_ARGS />) : 0;
//<IF_SUPER />	object->SetSuper(inner);
//<IF_SUPER />	for (<CLASS_INTERFACE />__Decorator* part = static_cast<<CLASS_INTERFACE />__Decorator*>(inner); part; part = static_cast<<CLASS_INTERFACE />__Decorator*>(part->super))
//<IF_SUPER />		part->SetFinal(object);
	return object;
}
