// A small product line in a temporary folder for the tests of feature
// modules and composed classes: layer folders with module files, a layer
// stack whose output folder lies beside them, and the real parser.
#pragma once

#include "../Captured.h"
#include "../scanner/TempFolder.h"

#include "compose/CodeGenerator.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/ParseProject.h"
#include "compose/TransformedModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <utime.h>
#include <vector>

namespace testutil {

class ComposedLine {
public:
    explicit ComposedLine(std::string const& outName = "out") : project(errors)
    {
        stack.m_SourceDir = tmp.path().c_str();
        stack.m_OutDir = tmp.path(outName).c_str();
    }

    // A layer from an equation line ("L1", "L2 bindingunit A"); its folder
    // is named by the line's first word and made when missing.
    Layer& AddLayer(std::string const& line)
    {
        std::string name = line.substr(0, line.find(' '));
        struct stat record;
        if (::stat(tmp.path(name).c_str(), &record) != 0)
            tmp.folder(name);
        configs.emplace_back(new LayerConfig(Str(line.c_str())));
        return *stack.NewLayer(*configs.back(), Str(tmp.path(name).c_str()), nullptr);
    }

    // Writes layer/file and adds its module to the layer; the feature module.
    FOPModule& AddModule(Layer& layer, std::string const& file, std::string const& content)
    {
        std::string path = tmp.file(std::string(layer.m_PlainName.GetBuffer()) + "/" + file, content);
        Module* module = project.AddFile(path.c_str());
        layer.AddModule(*module);
        return *layer.m_FopModules[layer.m_FopModules.GetCount() - 1];
    }

    TransformedModule* Class(char const* name) { return stack.GetModule(name); }

    // Prepares and parses one class; what it printed goes to out.
    bool Parse(char const* name)
    {
        TransformedModule* cls = Class(name);
        EXPECT_TRUE(cls) << name;
        if (!cls)
            return false;
        if (cls->GetTransformations().GetCount() == 0)
            cls->PrepareParse();
        testutil::Captured captured;
        bool parsed = cls->Parse();
        out += captured.All();
        return parsed;
    }

    // Prepares every class, then parses, transforms and saves them all.
    bool Run()
    {
        for (auto* e = stack.m_ComposedClasses.GetFirst(); e; e = stack.m_ComposedClasses.GetNext(e))
            e->GetValue()->PrepareParse();
        testutil::Captured captured;
        bool ok = true;
        for (auto* e = stack.m_ComposedClasses.GetFirst(); ok && e; e = stack.m_ComposedClasses.GetNext(e))
            ok = e->GetValue()->Parse();
        if (ok) {
            for (auto* e = stack.m_ComposedClasses.GetFirst(); e; e = stack.m_ComposedClasses.GetNext(e))
                if (e->GetValue()->IsParsed())
                    e->GetValue()->Transform();
            for (auto* e = stack.m_ComposedClasses.GetFirst(); e; e = stack.m_ComposedClasses.GetNext(e))
                e->GetValue()->SecondTransformStep();
            for (auto* e = stack.m_ComposedClasses.GetFirst(); e; e = stack.m_ComposedClasses.GetNext(e))
                e->GetValue()->OnTransformEnd();
            for (auto* e = stack.m_ComposedClasses.GetFirst(); e; e = stack.m_ComposedClasses.GetNext(e))
                e->GetValue()->SaveFiles();
            CodeGenerator::Get().CloseRemainingOpenFiles();
        }
        out += captured.All();
        return ok;
    }

    // The names of a class's modules, as they print.
    static std::vector<std::string> PrintNames(TransformedModule& cls)
    {
        std::vector<std::string> names;
        for (int i = 0; i < cls.GetModules().GetCount(); ++i)
            names.push_back(cls.GetModules()[i]->GetPrintName().GetBuffer());
        return names;
    }

    static void SetTime(std::string const& path, time_t t)
    {
        struct utimbuf times = {t, t};
        EXPECT_EQ(0, ::utime(path.c_str(), &times)) << path;
    }

    TempFolder tmp;
    std::ostringstream errors;
    ParseProject project;
    std::vector<std::unique_ptr<LayerConfig>> configs;
    LayerStack stack;
    // Standard output of the parses and runs.
    std::string out;
};

} // namespace testutil
