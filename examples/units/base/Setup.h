#include "Feature.h"

// Builds the product line: the base unit, with the tracing unit on top of
// it when asked for.
class Setup {
public:
    static Feature* Build(bool tracing)
    {
        Feature* layer = PlCreate::CreateLayer("base");
        if (tracing && layer) {
            Feature* top = PlCreate::CreateLayer("tracing");
            top->SetSuperLayer(layer);
            layer = top;
        }
        return layer;
    }
};
