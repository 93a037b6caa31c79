// Per-frame counters of the render device: what one frame cost OpenGL and
// why its batches ended. Plain data; the device resets it at BeginRender.
#pragma once

// Why a batch went to OpenGL.
enum class tvxFlushCause : int {
    BatchFull,   // the next primitive did not fit in the 1024 vertices
    BatchBreak,  // the next primitive had another kind or texture
    Blend,       // SetBlend
    Scissor,     // SetScissor
    ReadPixels,  // ReadPixels needs everything on screen
    EndRender,   // the frame's last batch
    Count
};

struct tvxFrameStats {
    int drawCalls = 0;     // glDrawArrays / glDrawElements calls
    int vertices = 0;      // vertices sent to OpenGL (discarded batches excluded)
    int textureBinds = 0;  // textures bound to draw a batch
    int discards = 0;      // non-empty batches dropped unseen (Cls, an opaque fill of the window)
    int clears = 0;        // opaque rectangles over the whole window done as a clear
    int flushes[static_cast<int>(tvxFlushCause::Count)] = {};

    int Flushes(tvxFlushCause cause) const { return flushes[static_cast<int>(cause)]; }
    int TotalFlushes() const {
        int total = 0;
        for (int n : flushes) total += n;
        return total;
    }
};
