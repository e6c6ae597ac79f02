// Constructors of a class composed from Java-like modules. A Java constructor
// cannot become a plain method as a C++ one does: it may begin with
// `super(..)` or `this(..)` and assign final fields. So the body of a refined
// constructor moves, as a block, into the constructor that refines it, right
// after the `super(..)`/`this(..)` call, which stays the first statement; the
// rest of the refined constructor is removed.
#pragma once

class FuncInfo;
class NodeFuncDef;

class JavaConstructor {
public:
    // Moves the body of the refined constructor into the refining one, its
    // parameters renamed to the refining constructor's. False, after an
    // error, when it cannot be done (the output then does not compile).
    static bool Compose(NodeFuncDef& refining, FuncInfo& refined);
};
