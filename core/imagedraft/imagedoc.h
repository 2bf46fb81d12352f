#pragma once

#include "core/imagedraft/picturedraft.h"
#include "core/picture/pictureops.h"
#include "core/picture/rgbpicture.h"

#include <string>
#include <utility>

namespace qb {

struct NewDraftDefaults;

// The graphic document: a picture opened from a file, the grid laid over it
// and whether it has changed since it was opened or saved. The graphic window
// shows it and calls these; the link to the draft generated from it belongs
// to the window, which sees both documents close.
class CImageDoc {
public:
    // Empty until a file is opened. The extension decides whether the file is
    // a picture at all (bmp, jpg/jpeg, tif/tiff, png; no extension fails).
    bool Open(const std::string& path, std::string& error, const PictureLimits& limits = {});
    // In the format of the path's extension. On failure the error text is
    // for the user and the document stays modified.
    bool Save(const std::string& path, std::string& error);

    const RgbPicture& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.empty(); }
    const std::string& path() const { return m_path; }
    bool isModified() const { return m_modified; }
    void SetModified(bool m = true) { m_modified = m; }

    // Grid Squares: each count kept to 1..127; changing the grid is not a
    // change of the picture.
    GridSquares gridSquares() const { return m_grid; }
    void SetGridSquares(GridSquares grid);

    // The edits mark the document modified when they succeed; a refused one
    // (empty crop, canvas too large, values out of range) changes nothing.
    bool Crop(PixelRect rect, std::string& error);
    bool Rotate(double degrees, std::string& error);
    void Grayscale();
    // Brightness/Contrast OK: the dialog showed LightPreview(picture(), ...)
    // meanwhile and left the picture alone, so Cancel needs nothing.
    bool Light(int brightness, int contrast);
    // Undo and Redo trade the picture for one it had before (or after); the
    // caller says whether that makes the document modified.
    void SwapPicture(RgbPicture& other) { std::swap(m_picture, other); }

    // Generate Draft with this document's grid.
    PictureDraft GenerateDraft(const NewDraftDefaults& defaults, IPrompter& prompter,
                               const PictureProgress& progress = {}) const;

private:
    RgbPicture m_picture;
    std::string m_path;
    GridSquares m_grid;
    bool m_modified = false;
};

} // namespace qb
