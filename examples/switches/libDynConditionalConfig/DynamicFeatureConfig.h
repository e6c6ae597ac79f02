// The product's feature switches: the tool inserts one enumerator per switch
// word of the equation after the first marker and the assignment of its name
// after the second.
#include <map>
#include <string>

class DynamicFeatureConfig {
public:
    enum Feature {
        // <ADD_FEATURES />
        feature_count
    };

    DynamicFeatureConfig()
    {
        /* <ADD_FEATURE_MAPPING /> */
    }

    std::map<int, std::string> m_FeatureNames;
};
