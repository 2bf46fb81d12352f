#include "core/imagedraft/imagedoc.h"

#include "core/draft/quillabydoc.h"
#include "core/picture/picturereader.h"

namespace qb {

bool CImageDoc::Open(const std::string& path, std::string& error, const PictureLimits& limits)
{
    RgbPicture picture;
    if (!ReadPictureFile(path, picture, error, limits)) return false;
    m_picture = std::move(picture);
    m_path = path;
    m_modified = false;
    return true;
}

bool CImageDoc::Save(const std::string& path, std::string& error)
{
    if (!WritePictureFile(path, m_picture, error)) return false;
    m_path = path;
    m_modified = false;
    return true;
}

void CImageDoc::SetGridSquares(GridSquares grid)
{
    m_grid = {ClampGridSquares(grid.across), ClampGridSquares(grid.down)};
}

bool CImageDoc::Crop(PixelRect rect, std::string& error)
{
    if (!CropPicture(m_picture, rect, m_picture, error)) return false;
    m_modified = true;
    return true;
}

bool CImageDoc::Rotate(double degrees, std::string& error)
{
    if (!RotatePicture(m_picture, degrees, m_picture, error)) return false;
    m_modified = true;
    return true;
}

void CImageDoc::Grayscale()
{
    MakeGreyScale(m_picture);
    m_modified = true;
}

bool CImageDoc::Light(int brightness, int contrast)
{
    if (!ApplyLight(m_picture, brightness, contrast)) return false;
    m_modified = true;
    return true;
}

PictureDraft CImageDoc::GenerateDraft(const NewDraftDefaults& defaults, IPrompter& prompter,
                                      const PictureProgress& progress) const
{
    return qb::GenerateDraft(m_picture, m_grid, defaults, prompter, progress);
}

} // namespace qb
