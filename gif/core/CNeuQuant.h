#pragma once
// The colour quantiser: a 256-neuron network learns a frame's colours from a sample of its
// pixels and becomes the frame's palette; every pixel is then mapped to its nearest entry.
#include <cstdint>
#include "GifIsa.h"
#include "NeuQuantKernels.h"

class CNeuQuant {
public:
    // `pixels` holds pixelCount four-byte pixels (blue, green, red, unused), is borrowed and
    // must outlive the quantiser. The instruction set changes the speed, never the result.
    CNeuQuant(const uint8_t* pixels, int pixelCount, int sampleFactor, GifIsa isa = BestGifIsa());

    // Learns, finishes the network and fills the 256-entry red, green, blue colour table.
    void Process(uint8_t colourTable[768]);
    // The palette entry nearest to a colour; only after Process.
    int Map(int red, int green, int blue) const;
    // Maps every learned pixel to its palette entry; only after Process.
    void MapPixels(uint8_t* indices) const;
    // After MapPixels: every entry moves to the mean colour of the pixels mapped to it (an entry
    // no pixel took stays), and the pixels are mapped again to the nearest entries of the new
    // table. With `reserve`, one entry is given up first (the one another entry comes closest
    // to: it takes that entry's colour, and its pixels that entry) and its number returned; no
    // pixel is mapped to it. Returns -1 without `reserve`.
    int Refine(uint8_t colourTable[768], uint8_t* indices, bool reserve = false);
    // Instead of learning: Map and MapPixels find the nearest entries of this table.
    void UsePalette(const uint8_t colourTable[768]);

private:
    void Learn();
    void FillSpread(int alpha, int rad);
    void FinishNetwork();
    // Sorts the finished network (red, green, blue, palette number) by green for the lookup.
    void SortNetwork(int32_t network[][4]);

    const uint8_t* m_pixels;
    int m_pixelCount;
    int m_sampleFactor;
    NeuQuantKernels m_kernels;
    NeuronLanes m_lanes;
    int32_t m_spread[kSpreadSize];
    SortedNeurons m_sorted;
};
