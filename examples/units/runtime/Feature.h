// The root of a product line's interface: one layer object per binding unit,
// stacked on the layer object of the unit below. Every layer of a stack
// knows the outermost one, which stands for the whole product line.
#pragma once

class Feature {
public:
    Feature() : final(this), super_layer(0) {}
    virtual ~Feature() {}

    // Puts this layer on top of lower; every layer below learns the new top.
    void SetSuperLayer(Feature* lower)
    {
        super_layer = lower;
        for (Feature* layer = this; layer; layer = layer->super_layer)
            layer->final = this;
    }
    Feature* GetSuperLayer() const { return super_layer; }

protected:
    Feature* final;
    Feature* super_layer;
};
