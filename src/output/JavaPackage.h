// The `package` line of a Java-like module (.jak, .java, .cs). The modules
// of a composed class are written as one file, which may have one `package`
// line: the lowest module's.
#pragma once

class FOPModule;

class JavaPackage {
public:
    // Deletes module's `package` line when it names the package of first,
    // the lowest module of the class; a different package is an error.
    static void WriteOnce(FOPModule& module, FOPModule* first);
};
