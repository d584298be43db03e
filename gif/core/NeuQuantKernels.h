#pragma once
// The quantiser's two hot loops (the competition over all neurons and the pull on a winner's
// neighbours) over neurons stored component by component, in one version per instruction set.
#include <cstdint>
#include "GifIsa.h"

constexpr int kNeurons = 256;
// Room past the last neuron so that wide loads and stores at the end of a range stay inside.
constexpr int kNeuronPadding = 16;
// Neighbour pulls by distance from the winner: entry kSpreadCentre + d holds the pull on the
// neuron d places away, 0 outside the current radius (and at the winner itself).
constexpr int kSpreadCentre = 31;
constexpr int kSpreadSize = 80;

struct NeuronLanes {
    alignas(64) int32_t c0[kNeurons + kNeuronPadding];
    alignas(64) int32_t c1[kNeurons + kNeuronPadding];
    alignas(64) int32_t c2[kNeurons + kNeuronPadding];
    alignas(64) int32_t bias[kNeurons];
    alignas(64) int32_t freq[kNeurons];
};

// The finished network sorted by green, for colour lookup.
struct SortedNeurons {
    alignas(64) int16_t red[kNeurons];
    alignas(64) int16_t green[kNeurons];
    alignas(64) int16_t blue[kNeurons];
    int16_t number[kNeurons];
    // Where the search for a green value starts.
    int32_t greenIndex[256];
    // The same components as bytes (they never leave 0..255: every move of a neuron is a step
    // part of the way towards a pixel's colour), for the byte-wide lookup.
    alignas(64) uint8_t red8[kNeurons];
    alignas(64) uint8_t green8[kNeurons];
    alignas(64) uint8_t blue8[kNeurons];
};

// Why the wide contests may pack a distance and a neuron number into one 32-bit key: every
// sample moves exactly as much from a neuron's bias into its frequency as the other way
// (bias += (freq >> 10) << 10 against freq -= freq >> 10, and -65536 against +64 for the closest
// neuron), so bias + 1024 x freq stays 262144, its starting value. The frequency never exceeds
// 66623 (above 66559 it falls by more than the 64 it can gain), so bias >> 12 lies in
// [-16592, 64] and a biased distance (at most 12240 before the bias) in [-64, 28832]: shifted
// left by 8 it leaves room for the neuron number below it, and stays far from overflow.
//
// Finds the neuron with the smallest biased distance to (c0, c1, c2) (the lowest number on ties),
// ages every neuron's frequency into its bias and rewards the unbiased closest neuron.
using ContestKernel = int (*)(NeuronLanes& n, int c0, int c1, int c2);
// Pulls the neurons from..to-1 towards (c0, c1, c2) by spread[kSpreadCentre + (i - winner)].
using NeighbourKernel = void (*)(NeuronLanes& n, const int32_t* spread, int from, int to,
                                 int winner, int c0, int c1, int c2);

// The palette number of the neuron nearest to a colour (sum of the absolute differences). The
// search runs outwards from greenIndex[green], up before down, and keeps the first neuron met at
// the smallest distance; wide versions compute that same neuron without the walk.
using LookupKernel = int (*)(const SortedNeurons& n, int red, int green, int blue);

struct NeuQuantKernels {
    ContestKernel contest;
    NeighbourKernel neighbours;
    LookupKernel lookup;
};

// The kernels for an instruction set the processor has (see IsGifIsaAvailable).
NeuQuantKernels GetNeuQuantKernels(GifIsa isa);

int ContestScalar(NeuronLanes& n, int c0, int c1, int c2);
void NeighboursScalar(NeuronLanes& n, const int32_t* spread, int from, int to, int winner, int c0,
                      int c1, int c2);
int LookupScalar(const SortedNeurons& n, int red, int green, int blue);
#if defined(__x86_64__) || defined(__i386__)
int LookupSse2(const SortedNeurons& n, int red, int green, int blue);
int LookupAvx2(const SortedNeurons& n, int red, int green, int blue);
int ContestSse2(NeuronLanes& n, int c0, int c1, int c2);
int ContestAvx2(NeuronLanes& n, int c0, int c1, int c2);
void NeighboursAvx2(NeuronLanes& n, const int32_t* spread, int from, int to, int winner, int c0,
                    int c1, int c2);
int ContestAvx512(NeuronLanes& n, int c0, int c1, int c2);
void NeighboursAvx512(NeuronLanes& n, const int32_t* spread, int from, int to, int winner, int c0,
                      int c1, int c2);
int LookupAvx512(const SortedNeurons& n, int red, int green, int blue);
int LookupAvx512Words(const SortedNeurons& n, int red, int green, int blue);
#endif
