// Options read by PathManager::configure: an ordered list of options, each
// with a name and its arguments.
#pragma once

#include <string>
#include <vector>

namespace Lex {

class Config {
public:
    struct Option {
        std::string name;
        std::vector<std::string> args;
    };

    void add(std::string name, std::vector<std::string> args)
    {
        m_options.push_back(Option{std::move(name), std::move(args)});
    }
    std::vector<Option> const& options() const { return m_options; }

private:
    std::vector<Option> m_options;
};

} // namespace Lex
