#pragma once
// A small GIF reader for the tests, written apart from the encoder: it walks every block of a
// file, checks the layout, and decodes each frame's LZW data back to palette indices, noting the
// sizes of the data sub-blocks and the width of every code on the way.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedCode {
    int code;
    int width;
};

struct DecodedFrame {
    int delay = -1;                 // hundredths, from the control extension before the frame
    int controlPacked = -1;         // the control extension's packed byte
    int transparentIndex = -1;
    int left = 0, top = 0, width = 0, height = 0;
    int descriptorPacked = 0;
    std::vector<uint8_t> localTable;  // empty without a local table
    int minimumCodeSize = 0;
    std::vector<int> subBlockSizes;
    std::vector<DecodedCode> codes;
    std::vector<uint8_t> indices;
    // The table the frame's indices refer to (local, else global).
    const std::vector<uint8_t>& Palette(const std::vector<uint8_t>& global) const {
        return localTable.empty() ? global : localTable;
    }
};

struct DecodedGif {
    int width = 0, height = 0;
    int screenPacked = 0;
    int background = -1, aspect = -1;
    std::vector<uint8_t> globalTable;
    int loopCount = -1;          // -1 without a repeat block
    int loopBlocks = 0;
    size_t loopBlockOffset = 0;  // where the repeat block starts in the file
    std::vector<DecodedFrame> frames;
    bool trailer = false;
};

// False with a reason in `error` when the bytes are not a well-formed file.
bool DecodeGif(const std::vector<uint8_t>& bytes, DecodedGif& gif, std::string& error);

// The canvas as a viewer shows it after each frame (red, green, blue per pixel): every frame is
// drawn at its offset over what the frames before left, its transparent pixels letting that
// show through; disposal 2 clears a frame's area to black afterwards (the background this
// program never uses otherwise), 3 restores what was there before it. False with a reason in
// `error` when a frame does not lie inside the canvas.
bool CompositeGif(const DecodedGif& gif, std::vector<std::vector<uint8_t>>& canvases, std::string& error);
