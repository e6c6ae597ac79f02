// What the code generation keeps with an object of the model (a module, a
// composed class, the layer stack): the model owns it and deletes it with
// itself without knowing what it holds; only the generator that made it
// reads it.
#pragma once

#include <cstddef>
#include <new>

class GeneratorState {
public:
    // Kept as long as the model object, which may live until the end of the
    // run. Allocating them here names them for the leak checker.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    GeneratorState() = default;
    virtual ~GeneratorState() = default;
    GeneratorState(GeneratorState const&) = delete;
    GeneratorState& operator=(GeneratorState const&) = delete;
};
