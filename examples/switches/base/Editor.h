// A text buffer that knows no undo.
#include <cstdio>
#include <string>

class Editor {
public:
    virtual ~Editor() {}
    virtual void Type(std::string const& text) { m_Text += text; }
    virtual bool Undo()
    {
        std::printf("undo is switched off\n");
        return false;
    }
    std::string const& GetText() const { return m_Text; }

protected:
    std::string m_Text;
};
