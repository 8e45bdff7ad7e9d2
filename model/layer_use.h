// A layer's record for as long as the guard lives: the scoped form of
// use_layer / release_layer, which remain for a use that outlives the function
// that makes it.
#pragma once

#include "core/memory_use.h"
#include "model/layer.h"

using LayerUse = MemoryUse<SpreadSheet>;
using ConstLayerUse = MemoryUse<const SpreadSheet>;
