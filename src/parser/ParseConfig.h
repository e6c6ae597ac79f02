// The parser's two skipping switches; both on, and never changed.
#pragma once

class ParseConfig {
public:
    ParseConfig() : m_bSkipFuncBodies(true), m_bSkipInitializers(true) {}

    // A function body is passed over from its `{` to the matching `}`.
    bool m_bSkipFuncBodies;
    // A constructor's initializer list is passed over from `:` to `{`.
    bool m_bSkipInitializers;
};
