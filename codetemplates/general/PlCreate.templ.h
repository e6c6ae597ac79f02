//<META /> Header of the product-line factory.
class PlCreate
{
public:
	// The layer object of the binding unit of that name; null when the
	// product line has no such unit.
	static Feature* CreateLayer(char const* name);
	// The names of all binding units, one a line.
	static char const* GetFeatureNames();
};
