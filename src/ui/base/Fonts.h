// The fonts of the program's windows, made for one DPI: bold Tahoma captions, Verdana text boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelix::ui {

// The face to ask for: `wanted` when it is installed with the Cyrillic character set, else the nearest
// installed one of a short list of look-alikes, else `wanted` (the font mapper then chooses).
std::wstring InstalledFace(const std::wstring& wanted);

// One font of 8.25 pt in the Cyrillic character set; the caller deletes it.
HFONT CreateUiFont(const std::wstring& face, bool bold, UINT dpi);

// What a text drawn in a font at (0, 0) covers: its width as the system reports it, the first pixel
// column and row to the right of and below its ink, and how dark its ink is in all. The ink is measured
// by drawing, because Wine reports the widths of a face's outlines also for the sizes it draws from
// narrower embedded bitmaps.
struct DrawnExtent {
    int reported = 0;
    int right = 0;
    int bottom = 0;
    long darkness = 0;
};
DrawnExtent MeasureDrawnText(HFONT font, std::wstring_view text);

// The bold face for captions at a DPI: Tahoma, unless its bold draws no darker than its regular
// there (Wine's own Tahoma Bold is bold only in its embedded bitmaps up to 12 px), then the first
// installed look-alike whose bold does.
std::wstring BoldCaptionFace(UINT dpi);

class FontSet {
  public:
    FontSet() = default;
    // The fonts for one DPI.
    explicit FontSet(UINT dpi);
    ~FontSet() { Release(); }
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;
    // Moving hands the fonts over; the set moved into frees its own fonts first.
    FontSet(FontSet&& other) noexcept { *this = std::move(other); }
    FontSet& operator=(FontSet&& other) noexcept;

    HFONT Caption() const { return caption_; }  // bold Tahoma: frames, labels, buttons
    HFONT Text() const { return text_; }        // Verdana: text boxes
    HFONT List() const { return list_; }        // Tahoma: lists, drop-down lists, plain labels

    // `font` (one of this set's) made `pixels` high; the set keeps it and frees it with the others.
    HFONT Resized(HFONT font, int pixels);
    // `font` where `fits` accepts it; else the same face a pixel smaller at a time, by a fifth at most,
    // until `fits` accepts one (the smallest tried when none fits). `fits` was last asked about the font
    // given back.
    HFONT ShrunkToFit(HFONT font, const std::function<bool(HFONT)>& fits);

  private:
    void Release();

    HFONT caption_ = nullptr;
    HFONT text_ = nullptr;
    HFONT list_ = nullptr;
    std::vector<HFONT> resized_;
};

}  // namespace vorelix::ui
