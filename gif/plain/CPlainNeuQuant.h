#pragma once
// The colour quantiser written as plainly as possible, one neuron at a time: the reference the
// fast CNeuQuant is checked against, and the benchmark's baseline.
#include <cstdint>

class CPlainNeuQuant {
public:
    // `pixels` holds red, green, blue triples and must outlive the quantiser.
    CPlainNeuQuant(const uint8_t* pixels, int lengthBytes, int sampleFactor);

    // Learns, finishes the network and fills the 256-entry red, green, blue colour table.
    void Process(uint8_t colourTable[768]);
    // The palette entry nearest to a colour; only after Process.
    int Map(int red, int green, int blue) const;

private:
    static constexpr int kNetSize = 256;

    void Learn();
    int Contest(int c0, int c1, int c2);
    void MoveWinner(int alpha, int j, int c0, int c1, int c2);
    void MoveNeighbours(int rad, int j, int c0, int c1, int c2);
    void Unbias();
    void BuildGreenIndex();

    int m_alphaDecrement = 0;
    const uint8_t* m_pixels;
    int m_length;
    int m_sampleFactor;
    int m_network[kNetSize][4];
    int m_greenIndex[256];
    int m_bias[kNetSize];
    int m_freq[kNetSize];
    int m_radPower[32];
};
