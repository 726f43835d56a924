// Memory a surface's pixels can live in instead of the surface's own: a display that
// shows pixels straight from memory it shares with its server hands out such memory,
// so a frame reaches the screen without being copied first.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class SurfaceMemory {
public:
    virtual ~SurfaceMemory() = default;
    // Room for the pixels of the size it was made for, rows as wide as the surface;
    // every pixel reads 0 until written.
    virtual std::uint32_t* Pixels() = 0;
};

// Memory for width x height pixels, or null: the surface then keeps its pixels itself.
using SurfaceMemorySource = std::function<std::shared_ptr<SurfaceMemory>(int width, int height)>;
