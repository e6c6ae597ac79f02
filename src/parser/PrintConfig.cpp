#include "parser/PrintConfig.h"

#include "parser/SourceCodePrinter.h"

PrintConfig::PrintConfig()
    : m_MemberSeparator("\n"), m_ParamSeparator(", "), m_BaseSeparator(", "), m_bDeleteOnClose(false),
      m_bOmitVarNames(false), m_bPrintBodies(true), m_pPrinter(nullptr)
{
}

PrintConfig::~PrintConfig()
{
    delete m_pPrinter;
}

void PrintConfig::Close()
{
    if (m_bDeleteOnClose)
        delete this;
}

SourceCodePrinter* CppCodePrintConfig::CreatePrinter()
{
    return new CppCodePrinter(this);
}

SourceCodePrinter* CCodePrintConfig::CreatePrinter()
{
    return new CCodePrinter(this);
}

HtmlCodePrintConfig::HtmlCodePrintConfig()
{
    m_MemberSeparator = "<br />";
    m_BaseSeparator = "";
}

SourceCodePrinter* HtmlCodePrintConfig::CreatePrinter()
{
    return new HtmlCodePrinter(this);
}

SourceCodePrinter* HtmlDokuPrintConfig::CreatePrinter()
{
    return new HtmlDokuPrinter(this);
}

PrintConfig* SourceCodePrinterFactory::m_pUsedConfig = nullptr;
Array<PrintConfig*> SourceCodePrinterFactory::m_SavedPrinters;

SourceCodePrinter* SourceCodePrinterFactory::SetConfig(PrintConfig& config, bool deleteOnClose)
{
    SourceCodePrinter::m_pInst = nullptr;
    if (m_pUsedConfig && m_pUsedConfig != &config)
        m_pUsedConfig->Close();
    m_pUsedConfig = &config;
    config.m_bDeleteOnClose = deleteOnClose;
    delete config.m_pPrinter;
    config.m_pPrinter = config.CreatePrinter();
    SourceCodePrinter::m_pInst = config.m_pPrinter;
    return config.m_pPrinter;
}

SourceCodePrinter* SourceCodePrinterFactory::CreateDefaultPrinter()
{
    if (!m_pUsedConfig)
        SetConfig(*new CppCodePrintConfig, true);
    return m_pUsedConfig->m_pPrinter;
}

SourceCodePrinter* SourceCodePrinterFactory::InitCppPrinter()
{
    return SetConfig(*new CppCodePrintConfig, true);
}

SourceCodePrinter* SourceCodePrinterFactory::InitCPrinter()
{
    return SetConfig(*new CCodePrintConfig, true);
}

SourceCodePrinter* SourceCodePrinterFactory::InitCInterfaceCreator()
{
    return SetConfig(*new CCodePrintConfig, true);
}

SourceCodePrinter* SourceCodePrinterFactory::InitHtmlPrinter()
{
    return SetConfig(*new HtmlCodePrintConfig, true);
}

SourceCodePrinter* SourceCodePrinterFactory::InitHtmlDokuPrinter()
{
    PrintConfig* config = new HtmlDokuPrintConfig;
    config->m_bPrintBodies = false;
    return SetConfig(*config, true);
}

void SourceCodePrinterFactory::SavePrinter()
{
    m_SavedPrinters.Add(m_pUsedConfig);
    m_pUsedConfig = nullptr;
}

void SourceCodePrinterFactory::RestorePrinter()
{
    int n = m_SavedPrinters.GetCount();
    if (n == 0)
        return;
    m_pUsedConfig = m_SavedPrinters[n - 1];
    m_SavedPrinters.RemoveAt(n - 1, 1);
}
