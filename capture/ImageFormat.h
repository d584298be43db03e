#pragma once
// The still-picture formats, numbered as the settings file stores them ("SaveType").
enum ImageFormat : int {
    Bmp = 0,
    Jpg = 1,
    Png = 2,
    Gif = 3,
};
