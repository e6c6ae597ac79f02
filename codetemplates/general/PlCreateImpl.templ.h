//<META /> Source of the product-line factory.
#include <cstring>

Feature* PlCreate::CreateLayer(char const* name)
{
	if (!name)
		return 0;
<CREATE_LAYER_BODY>}

char const* PlCreate::GetFeatureNames()
{
	return "<ALL_FEATURE_NAMES>";
}
