// Keeps the text before every Type, so that Undo can bring it back.
#include <cstdio>
#include <string>
#include <vector>

refines class Editor {
public:
    void Type(std::string const& text)
    {
        m_History.push_back(m_Text);
        super::Type(text);
    }
    bool Undo()
    {
        if (m_History.empty())
            return false;
        m_Text = m_History.back();
        m_History.pop_back();
        std::printf("undone\n");
        return true;
    }

private:
    std::vector<std::string> m_History;
};
