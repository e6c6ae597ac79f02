//<META /> Header of a layer class: <LAYER_NAME /> derives from the product-line interface <INTERFACE_NAME /> and makes the objects of its binding unit <LAYER_PRINT_NAME />.
class <LAYER_NAME /> : public <INTERFACE_NAME />
{
public:
	<LAYER_NAME />() {}
	virtual ~<LAYER_NAME />() {}
	virtual char const* GetLayerName() const { return "<LAYER_PRINT_NAME />"; }
	virtual int GetRoleCount() const { return <ROLE_COUNT />; }
//<IF_META_INFO />	virtual bool HasMetaInfo() const { return true; }
	// The object of the class of that name, made by this binding unit;
	// null for a class the unit does not make.
	virtual Class* CreateRole(char const* name)
	{
		if (!name)
			return 0;<GENERAL_FACTORY_METHODS />
		return 0;
	}
<FACTORY_METHOD_DECLS />};
