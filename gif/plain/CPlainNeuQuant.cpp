#include "CPlainNeuQuant.h"

#include <cstdlib>

CPlainNeuQuant::CPlainNeuQuant(const uint8_t* pixels, int lengthBytes, int sampleFactor)
    : m_pixels(pixels), m_length(lengthBytes), m_sampleFactor(sampleFactor) {
    for (int i = 0; i < kNetSize; i++) {
        m_network[i][0] = m_network[i][1] = m_network[i][2] = (i << 12) / 256;
        m_network[i][3] = 0;
        m_freq[i] = 65536 / kNetSize;
        m_bias[i] = 0;
    }
    for (int& v : m_greenIndex) {
        v = 0;
    }
    for (int& v : m_radPower) {
        v = 0;
    }
}

void CPlainNeuQuant::Process(uint8_t colourTable[768]) {
    Learn();
    Unbias();
    BuildGreenIndex();
    int byNumber[kNetSize];
    for (int i = 0; i < kNetSize; i++) {
        byNumber[m_network[i][3]] = i;
    }
    for (int k = 0; k < kNetSize; k++) {
        for (int c = 0; c < 3; c++) {
            colourTable[k * 3 + c] = static_cast<uint8_t>(m_network[byNumber[k]][c]);
        }
    }
}

void CPlainNeuQuant::Learn() {
    if (m_length < 3 * 503) {
        m_sampleFactor = 1;
    }
    m_alphaDecrement = 30 + (m_sampleFactor - 1) / 3;
    const int samples = m_length / (3 * m_sampleFactor);
    int delta = samples / 100;
    int alpha = 1024;
    int radius = 2048;
    int rad = radius >> 6;
    if (rad <= 1) {
        rad = 0;
    }
    for (int j = 0; j < rad; j++) {
        m_radPower[j] = alpha * (((rad * rad - j * j) * 256) / (rad * rad));
    }

    int step;
    if (m_length < 3 * 503) {
        step = 3;
    } else if (m_length % 499 != 0) {
        step = 3 * 499;
    } else if (m_length % 491 != 0) {
        step = 3 * 491;
    } else if (m_length % 487 != 0) {
        step = 3 * 487;
    } else {
        step = 3 * 503;
    }

    int position = 0;
    int i = 0;
    while (i < samples) {
        const int c0 = m_pixels[position] << 4;
        const int c1 = m_pixels[position + 1] << 4;
        const int c2 = m_pixels[position + 2] << 4;
        const int j = Contest(c0, c1, c2);
        MoveWinner(alpha, j, c0, c1, c2);
        if (rad != 0) {
            MoveNeighbours(rad, j, c0, c1, c2);
        }
        position += step;
        if (position >= m_length) {
            position -= m_length;
        }
        i++;
        if (delta == 0) {
            delta = 1;
        }
        if (i % delta == 0) {
            alpha -= alpha / m_alphaDecrement;
            radius -= radius / 30;
            rad = radius >> 6;
            if (rad <= 1) {
                rad = 0;
            }
            for (int k = 0; k < rad; k++) {
                m_radPower[k] = alpha * (((rad * rad - k * k) * 256) / (rad * rad));
            }
        }
    }
}

int CPlainNeuQuant::Contest(int c0, int c1, int c2) {
    int bestDistance = 2147483647;
    int bestBiasedDistance = bestDistance;
    int bestPosition = -1;
    int bestBiasedPosition = -1;
    for (int i = 0; i < kNetSize; i++) {
        const int* n = m_network[i];
        const int distance = std::abs(n[0] - c0) + std::abs(n[1] - c1) + std::abs(n[2] - c2);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestPosition = i;
        }
        const int biasedDistance = distance - (m_bias[i] >> 12);
        if (biasedDistance < bestBiasedDistance) {
            bestBiasedDistance = biasedDistance;
            bestBiasedPosition = i;
        }
        const int betaFreq = m_freq[i] >> 10;
        m_freq[i] -= betaFreq;
        m_bias[i] += betaFreq << 10;
    }
    m_freq[bestPosition] += 64;
    m_bias[bestPosition] -= 65536;
    return bestBiasedPosition;
}

void CPlainNeuQuant::MoveWinner(int alpha, int j, int c0, int c1, int c2) {
    int* n = m_network[j];
    n[0] -= alpha * (n[0] - c0) / 1024;
    n[1] -= alpha * (n[1] - c1) / 1024;
    n[2] -= alpha * (n[2] - c2) / 1024;
}

void CPlainNeuQuant::MoveNeighbours(int rad, int j, int c0, int c1, int c2) {
    int lo = j - rad;
    if (lo < -1) {
        lo = -1;
    }
    int hi = j + rad;
    if (hi > kNetSize) {
        hi = kNetSize;
    }
    int up = j + 1;
    int down = j - 1;
    int m = 1;
    while (up < hi || down > lo) {
        const int a = m_radPower[m++];
        if (up < hi) {
            int* n = m_network[up++];
            n[0] -= a * (n[0] - c0) / 262144;
            n[1] -= a * (n[1] - c1) / 262144;
            n[2] -= a * (n[2] - c2) / 262144;
        }
        if (down > lo) {
            int* n = m_network[down--];
            n[0] -= a * (n[0] - c0) / 262144;
            n[1] -= a * (n[1] - c1) / 262144;
            n[2] -= a * (n[2] - c2) / 262144;
        }
    }
}

void CPlainNeuQuant::Unbias() {
    for (int i = 0; i < kNetSize; i++) {
        m_network[i][0] >>= 4;
        m_network[i][1] >>= 4;
        m_network[i][2] >>= 4;
        m_network[i][3] = i;
    }
}

void CPlainNeuQuant::BuildGreenIndex() {
    int previous = 0;
    int start = 0;
    for (int i = 0; i < kNetSize; i++) {
        int smallest = i;
        for (int j = i + 1; j < kNetSize; j++) {
            if (m_network[j][1] < m_network[smallest][1]) {
                smallest = j;
            }
        }
        if (smallest != i) {
            for (int c = 0; c < 4; c++) {
                const int t = m_network[i][c];
                m_network[i][c] = m_network[smallest][c];
                m_network[smallest][c] = t;
            }
        }
        const int green = m_network[i][1];
        if (green != previous) {
            m_greenIndex[previous] = (start + i) >> 1;
            for (int v = previous + 1; v < green; v++) {
                m_greenIndex[v] = i;
            }
            previous = green;
            start = i;
        }
    }
    m_greenIndex[previous] = (start + 255) >> 1;
    for (int v = previous + 1; v < 256; v++) {
        m_greenIndex[v] = 255;
    }
}

int CPlainNeuQuant::Map(int red, int green, int blue) const {
    int best = 1000;
    int result = -1;
    int up = m_greenIndex[green];
    int down = up - 1;
    while (up < kNetSize || down >= 0) {
        if (up < kNetSize) {
            const int* p = m_network[up];
            int d = p[1] - green;
            if (d >= best) {
                up = kNetSize;
            } else {
                up++;
                d = std::abs(d) + std::abs(p[0] - red);
                if (d < best) {
                    d += std::abs(p[2] - blue);
                    if (d < best) {
                        best = d;
                        result = p[3];
                    }
                }
            }
        }
        if (down >= 0) {
            const int* p = m_network[down];
            int d = green - p[1];
            if (d >= best) {
                down = -1;
            } else {
                down--;
                d = std::abs(d) + std::abs(p[0] - red);
                if (d < best) {
                    d += std::abs(p[2] - blue);
                    if (d < best) {
                        best = d;
                        result = p[3];
                    }
                }
            }
        }
    }
    return result;
}
