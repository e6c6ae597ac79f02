// The product's run-time feature switches. Every method of a layer guarded by
// a switch asks Config::GetInstance().IsFeatureActive(...) first; the switch
// numbers and names come from the composed class DynamicFeatureConfig.
#pragma once

// The composed headers include only this header, yet name
// DynamicFeatureConfig::feature_<Name>.
#include "DynamicFeatureConfig.h"

#include <map>
#include <string>

class Config {
public:
    static Config& GetInstance()
    {
        static Config instance;
        return instance;
    }

    bool IsFeatureActive(int feature) const
    {
        auto found = m_Active.find(feature);
        return found != m_Active.end() && found->second;
    }

    // Switches the feature of that name on or off; false for an unknown name.
    bool SetFeatureActive(std::string const& name, bool active)
    {
        for (auto const& entry : m_Features.m_FeatureNames) {
            if (entry.second == name) {
                m_Active[entry.first] = active;
                return true;
            }
        }
        return false;
    }

private:
    Config() {}

    DynamicFeatureConfig m_Features;
    std::map<int, bool> m_Active;
};
