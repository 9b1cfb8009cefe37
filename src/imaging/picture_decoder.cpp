#include "imaging/picture_decoder.h"

#include <algorithm>
#include <cmath>

#include "imaging/bmp_decoder.h"
#include "imaging/icc_profile.h"
#include "imaging/image_scale.h"
#include "imaging/jpeg_decoder.h"

namespace orv::imaging {
namespace {

bool StartsWith(const ByteReader& file, std::initializer_list<std::uint8_t> signature) {
    std::uint8_t head[4] = {};
    if (signature.size() > sizeof head || !file.read ||
        file.read(0, head, signature.size()) != signature.size())
        return false;
    return std::equal(signature.begin(), signature.end(), head);
}

} // namespace

std::optional<PictureInfo> InspectPicture(const ByteReader& file) {
    if (file.size == 0 || !file.read) return std::nullopt;
    PictureInfo info;
    if (StartsWith(file, {0xFF, 0xD8})) {
        // A file that starts like a JPEG and whose header libjpeg cannot
        // read is drawn by nobody; the system's decoder has been seen to
        // crash on some of them.
        const auto jpeg = ReadJpegInfo(file);
        if (!jpeg) return std::nullopt;
        info.decoder = jpeg->drawable ? Decoder::Jpeg : Decoder::System;
        info.stored = jpeg->stored;
        info.upright = jpeg->upright;
        info.orientation = jpeg->orientation;
        if (jpeg->drawable) info.iccProfile = JpegIccProfile(file, jpeg->iccChunks);
        return info;
    }
    if (StartsWith(file, {'B', 'M'})) {
        BmpRefusal why = BmpRefusal::NotBmp;
        if (const auto bmp = ReadBmpInfo(file, &why)) {
            info.decoder = Decoder::Bmp;
            info.stored = info.upright = bmp->size;
            info.iccProfile = ReadBmpIccProfile(file);
            return info;
        }
        if (why == BmpRefusal::Damaged) return std::nullopt;
    }
    return info; // the system's decoder
}

bool DecodePicture(const ByteReader& file, const PictureInfo& info, int width, int height,
                   std::uint8_t* dest, std::size_t stride, const DecodeBudget& budget,
                   const RowFilter& filter) {
    switch (info.decoder) {
    case Decoder::Jpeg: {
        JpegLimits limits;
        limits.maxDecoderMemory = budget.workingBytes;
        limits.scratch = budget.scratch;
        return DecodeJpeg(file, width, height, dest, stride, limits, info.orientation, filter);
    }
    case Decoder::Bmp:
        return DecodeBmp(file, width, height, dest, stride, budget.workingBytes, filter);
    case Decoder::System:
        break;
    }
    return false;
}

bool SystemDecodeFits(PixelSize stored, PixelSize box, const DecodeBudget& budget) {
    if (stored.width <= 0 || stored.height <= 0 || box.width <= 0 || box.height <= 0) return false;
    const double whole = 4.0 * stored.width * stored.height;
    const double scaler = static_cast<double>(
        ScaleImageMemory(stored.width, stored.height, 4, box.width, box.height));
    return whole + scaler <= static_cast<double>(budget.workingBytes);
}

PixelSize WallpaperSize(PixelSize upright, std::size_t maxBytes) {
    if (upright.width <= 0 || upright.height <= 0) return {1, 1};
    const double pixels = static_cast<double>(upright.width) * upright.height;
    const double allowed = static_cast<double>(maxBytes) / 4;
    if (pixels <= allowed) return upright;
    const double f = std::sqrt(allowed / pixels);
    return {std::max(1, static_cast<int>(std::floor(upright.width * f))),
            std::max(1, static_cast<int>(std::floor(upright.height * f)))};
}

} // namespace orv::imaging
