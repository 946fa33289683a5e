// The fonts of the program's windows, made for one DPI: bold Tahoma captions, Verdana text boxes.
#pragma once

#include <windows.h>

#include <string>

namespace vorelix::ui {

// The face to ask for: `wanted` when it is installed with the Cyrillic character set, else the nearest
// installed one of a short list of look-alikes, else `wanted` (the font mapper then chooses).
std::wstring InstalledFace(const std::wstring& wanted);

// One font of 8.25 pt in the Cyrillic character set; the caller deletes it.
HFONT CreateUiFont(const std::wstring& face, bool bold, UINT dpi);

class FontSet {
  public:
    FontSet() = default;
    ~FontSet() { Release(); }
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // Makes the fonts again for another DPI.
    void Create(UINT dpi);

    HFONT Caption() const { return caption_; }  // bold Tahoma: frames, labels, buttons
    HFONT Text() const { return text_; }        // Verdana: text boxes
    HFONT List() const { return list_; }        // Tahoma: lists and drop-down lists

  private:
    void Release();

    HFONT caption_ = nullptr;
    HFONT text_ = nullptr;
    HFONT list_ = nullptr;
};

}  // namespace vorelix::ui
