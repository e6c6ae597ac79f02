// Print configurations: the separators and switches of a printer, and the
// factory that installs a configuration and its printer as the current one.
#pragma once

#include "base/Array.h"
#include "base/Str.h"

class SourceCodePrinter;

class PrintConfig {
public:
    PrintConfig();
    virtual ~PrintConfig(); // deletes the printer

    virtual Str GetLanguage() { return Str("undefined"); }
    virtual SourceCodePrinter* CreatePrinter() = 0;

    // Deletes the configuration when it was installed for deletion on close.
    void Close();

    Str m_MemberSeparator;
    Str m_ParamSeparator;
    Str m_BaseSeparator;
    bool m_bDeleteOnClose;
    bool m_bOmitVarNames; // set while a signature is printed
    bool m_bPrintBodies;
    SourceCodePrinter* m_pPrinter; // owned

    PrintConfig(PrintConfig const&) = delete;
    PrintConfig& operator=(PrintConfig const&) = delete;
};

class CppCodePrintConfig : public PrintConfig {
public:
    Str GetLanguage() override { return Str("C++"); }
    SourceCodePrinter* CreatePrinter() override;
};

class CCodePrintConfig : public PrintConfig {
public:
    Str GetLanguage() override { return Str("C"); }
    SourceCodePrinter* CreatePrinter() override;
};

class HtmlCodePrintConfig : public PrintConfig {
public:
    HtmlCodePrintConfig();
    Str GetLanguage() override { return Str("HTML"); }
    SourceCodePrinter* CreatePrinter() override;
};

class HtmlDokuPrintConfig : public HtmlCodePrintConfig {
public:
    SourceCodePrinter* CreatePrinter() override;
};

class SourceCodePrinterFactory {
public:
    SourceCodePrinterFactory() {}
    ~SourceCodePrinterFactory() {}

    // Closes the installed configuration and installs config with a new
    // printer, which becomes the current printer and is returned.
    static SourceCodePrinter* SetConfig(PrintConfig& config, bool deleteOnClose);
    // The installed configuration's printer; installs the C++ one first.
    static SourceCodePrinter* CreateDefaultPrinter();

    static SourceCodePrinter* InitCppPrinter();
    static SourceCodePrinter* InitCPrinter();
    static SourceCodePrinter* InitCInterfaceCreator();
    static SourceCodePrinter* InitHtmlPrinter();
    static SourceCodePrinter* InitHtmlDokuPrinter();

    // Pushes the installed configuration and clears it; Restore pops it back
    // without changing the current printer.
    static void SavePrinter();
    static void RestorePrinter();

    static PrintConfig* m_pUsedConfig;
    static Array<PrintConfig*> m_SavedPrinters;
};
