#include "imaging/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h
#include <jerror.h>

#include "imaging/exif_orientation.h"
#include "imaging/image_scale.h"
#include "imaging/jpeg_bands.h"
#include "imaging/jpeg_memory.h"
#include "imaging/jpeg_segments.h"
#include "imaging/orientation.h"

namespace orv::imaging {
namespace {

// libjpeg reports a fatal error through error_exit, which must not return:
// it jumps back to the Guard around the call. Warnings (corrupt data that
// libjpeg steps over) are dropped.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// Called by libjpeg as it works: refuses a file with too many scans.
struct ScanLimit {
    jpeg_progress_mgr pub;
    int maxScans;
};

void LimitScans(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number >
                                     reinterpret_cast<ScanLimit*>(info->progress)->maxScans)
        JumpOnError(info);
}

// Feeds libjpeg from a ByteReader, a chunk at a time. At the end of the data
// (or on a read error) it hands over an end marker, as libjpeg's own sources
// do, so a cut file decodes as far as it goes.
struct ReaderSource {
    // The header comes in a small first chunk, the data after it in large
    // ones: each read is a call into the system.
    static constexpr std::size_t kFirstChunk = 64 * 1024;
    static constexpr std::size_t kChunk = 1024 * 1024;

    jpeg_source_mgr pub;
    const ByteReader* file;
    std::uint64_t offset; // of the next chunk in the file
    bool started;
    std::unique_ptr<std::uint8_t[]> buffer;

    static ReaderSource& Of(j_decompress_ptr info) {
        return *reinterpret_cast<ReaderSource*>(info->src);
    }

    static void Init(j_decompress_ptr) {}

    static boolean Fill(j_decompress_ptr info) {
        ReaderSource& source = Of(info);
        std::size_t n = 0;
        if (source.offset < source.file->size && source.file->read) {
            const std::size_t want = source.started ? kChunk : kFirstChunk;
            n = std::min(source.file->read(source.offset, source.buffer.get(), want), want);
        }
        if (n == 0) {
            if (!source.started) ERREXIT(info, JERR_INPUT_EMPTY);
            WARNMS(info, JWRN_JPEG_EOF);
            source.buffer[0] = 0xFF;
            source.buffer[1] = JPEG_EOI;
            n = 2;
        } else {
            source.offset += n;
        }
        source.started = true;
        source.pub.next_input_byte = source.buffer.get();
        source.pub.bytes_in_buffer = n;
        return TRUE;
    }

    static void Skip(j_decompress_ptr info, long count) {
        if (count <= 0) return;
        ReaderSource& source = Of(info);
        const auto skip = static_cast<std::size_t>(count);
        if (skip <= source.pub.bytes_in_buffer) {
            source.pub.next_input_byte += skip;
            source.pub.bytes_in_buffer -= skip;
            return;
        }
        // Past the buffer: the next chunk starts further on in the file.
        source.offset += skip - source.pub.bytes_in_buffer;
        source.pub.bytes_in_buffer = 0;
    }

    static void Term(j_decompress_ptr) {}
};

// The memory libjpeg keeps of the coefficient arrays it has in scratch
// files.
constexpr std::size_t kScratchWindows = std::size_t{32} * 1024 * 1024;

class Decompressor {
  public:
    Decompressor(const ByteReader& file, const JpegLimits& limits) {
        info_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = JumpOnError;
        errors_.pub.emit_message = IgnoreMessage;
        scans_.pub.progress_monitor = LimitScans;
        scans_.maxScans = limits.maxScans;
        source_.file = &file;
        source_.pub.init_source = ReaderSource::Init;
        source_.pub.fill_input_buffer = ReaderSource::Fill;
        source_.pub.skip_input_data = ReaderSource::Skip;
        source_.pub.resync_to_restart = jpeg_resync_to_restart;
        source_.pub.term_source = ReaderSource::Term;
        source_.buffer.reset(new (std::nothrow) std::uint8_t[ReaderSource::kChunk]);
        if (!source_.buffer) return;
        const long memory = static_cast<long>(std::min<std::size_t>(
            limits.maxDecoderMemory, static_cast<std::size_t>(std::numeric_limits<long>::max())));
        info_.client_data = &client_;
        created_ = Guard([&] {
            jpeg_create_decompress(&info_);
            info_.mem->max_memory_to_use = memory;
            info_.progress = &scans_.pub;
            info_.src = &source_.pub;
        });
    }
    ~Decompressor() {
        if (created_) jpeg_destroy_decompress(&info_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // Runs libjpeg calls; false when one of them failed. The jump lands
    // here, so between this frame and libjpeg there must be nothing that
    // needs destroying: `call` only makes libjpeg calls on plain values.
    template <typename Call> bool Guard(Call&& call) {
        if (setjmp(errors_.jump)) return false;
        call();
        return true;
    }

    // Reads the header; false unless the file is a JPEG with a sound one.
    bool ReadHeader() {
        return created_ && Guard([&] { jpeg_read_header(&info_, TRUE); });
    }

    // Colour or grey, which DecodeJpeg turns into B, G, R.
    bool Drawable() const {
        switch (info_.jpeg_color_space) {
        case JCS_GRAYSCALE:
            return info_.num_components == 1;
        case JCS_YCbCr:
        case JCS_RGB:
            return info_.num_components == 3;
        default:
            return false;
        }
    }

    // The bytes of coefficients the decoder keeps for the whole picture: all
    // of them when the file comes in several scans, none otherwise. The
    // header has set the components' sizes in blocks; libjpeg rounds each
    // up to whole sampling units.
    // `largest` is the largest component's share.
    std::uint64_t WholePictureBytes(std::uint64_t* largest = nullptr) const {
        if (largest) *largest = 0;
        if (!info_.progressive_mode && info_.comps_in_scan >= info_.num_components) return 0;
        std::uint64_t bytes = 0;
        for (int i = 0; i < info_.num_components; ++i) {
            const jpeg_component_info& c = info_.comp_info[i];
            const auto roundUp = [](std::uint64_t n, int unit) {
                return unit > 0 ? (n + unit - 1) / unit * unit : n;
            };
            const std::uint64_t component = roundUp(c.width_in_blocks, c.h_samp_factor) *
                                            roundUp(c.height_in_blocks, c.v_samp_factor) *
                                            DCTSIZE2 * sizeof(JCOEF);
            bytes += component;
            if (largest) *largest = std::max(*largest, component);
        }
        return bytes;
    }

    // Whether the coefficients are decoded band by band: a file in several
    // Huffman-coded scans whose coefficients do not fit the memory limit.
    bool NeedsBands(const JpegLimits& limits) const {
        return WholePictureBytes() > limits.maxDecoderMemory && !info_.arith_code;
    }

    // Has libjpeg take its coefficients from `bands` (made from this file's
    // header, and this decompressor reading the file cut at their HeaderEnd).
    bool UseBands(CoefficientBands& bands) {
        client_.bands = &bands;
        return Guard([&] { bands.Install(info_); });
    }

    // Whether the coefficients fit the memory limit, or else may go to
    // scratch files. libjpeg sizes and seeks each component's file in a
    // long, 32 bits on Windows.
    bool CoefficientsFit(const JpegLimits& limits) {
        std::uint64_t largest = 0;
        const std::uint64_t bytes = WholePictureBytes(&largest);
        if (bytes <= limits.maxDecoderMemory) return true;
        if (!limits.scratch || bytes > limits.maxCoefficientBytes ||
            largest > static_cast<std::uint64_t>(std::numeric_limits<long>::max()))
            return false;
        store_.Allow(limits.scratch, bytes,
                     bytes * static_cast<std::uint64_t>(std::max(limits.scratchTraffic, 0)));
        // libjpeg moves a window down each array for every scan that
        // touches it, writing back and reading in the whole array whatever
        // the window's size: a larger one would only cost memory.
        info_.mem->max_memory_to_use =
            static_cast<long>(std::min<std::size_t>(limits.maxDecoderMemory, kScratchWindows));
        return true;
    }

    jpeg_decompress_struct& info() { return info_; }

  private:
    jpeg_decompress_struct info_{};
    ErrorManager errors_{};
    ScanLimit scans_{};
    ReaderSource source_{};
    // Destroyed after libjpeg, which closes its files as it goes.
    ScratchStore store_;
    JpegClient client_{&store_, nullptr};
    bool created_ = false;
};

// Decodes the started decompressor's picture scaled to width x height.
bool ScaleDecoded(Decompressor& decoder, int width, int height, std::uint8_t* dest,
                  std::size_t stride, const RowFilter& filter) {
    jpeg_decompress_struct& info = decoder.info();
    ScaleSource source;
    source.width = static_cast<int>(info.output_width);
    source.height = static_cast<int>(info.output_height);
    source.bytesPerPixel = 3;
    source.readRows = [&](int first, int count, std::uint8_t* rows, std::size_t rowStride) {
        if (static_cast<JDIMENSION>(first) != info.output_scanline) return false;
        const auto end = static_cast<JDIMENSION>(first + count);
        bool stalled = false;
        const bool read = decoder.Guard([&] {
            while (info.output_scanline < end) {
                JSAMPROW pointers[16];
                const JDIMENSION n = std::min<JDIMENSION>(end - info.output_scanline, 16);
                for (JDIMENSION i = 0; i < n; ++i)
                    pointers[i] = rows + (info.output_scanline - first + i) * rowStride;
                if (jpeg_read_scanlines(&info, pointers, n) == 0) {
                    stalled = true;
                    return;
                }
            }
        });
        return read && !stalled;
    };
    return ScaleImage(source, width, height, dest, stride, 64, ScaleCode::Fastest, filter);
}

} // namespace

int JpegDecodeEighths(PixelSize picture, int width, int height) {
    const auto eighths = [](int size, int n) {
        return (static_cast<long long>(size) * n + 7) / 8; // as libjpeg rounds
    };
    constexpr int kScalerShare = 2;
    for (int n = 1; n < 8; ++n)
        if (eighths(picture.width, n) >= static_cast<long long>(kScalerShare) * width &&
            eighths(picture.height, n) >= static_cast<long long>(kScalerShare) * height)
            return n;
    return 8;
}

std::optional<JpegInfo> ReadJpegInfo(const ByteReader& file) {
    Decompressor decoder(file, JpegLimits{});
    if (!decoder.ReadHeader()) return std::nullopt;
    JpegInfo result;
    result.stored = {static_cast<int>(decoder.info().image_width),
                     static_cast<int>(decoder.info().image_height)};
    JpegMarkers markers = ReadJpegMarkers(file);
    result.orientation = markers.orientation;
    result.iccChunks = std::move(markers.iccChunks);
    result.upright = UprightSize(result.stored, result.orientation);
    result.drawable = decoder.Drawable();
    return result;
}

bool DecodeJpeg(const ByteReader& file, int width, int height, std::uint8_t* dest,
                std::size_t stride, const JpegLimits& limits, int known, const RowFilter& filter) {
    if (width <= 0 || height <= 0 || !dest) return false;
    Decompressor header(file, limits);
    if (!header.ReadHeader() || !header.Drawable()) return false;
    // Coefficients decoded in bands: libjpeg reads the file only up to the
    // first scan's data, then an end marker, and takes the coefficients from
    // the bands as it draws.
    std::unique_ptr<CoefficientBands> bands;
    ByteReader cut;
    std::unique_ptr<Decompressor> banded;
    if (header.NeedsBands(limits)) {
        bands = CoefficientBands::Open(file, header.info(), limits);
        if (!bands) return false;
        const std::uint64_t end = bands->HeaderEnd();
        cut = {end, [&file, end](std::uint64_t offset, std::uint8_t* to, std::size_t count) {
                   if (offset >= end) return std::size_t{0};
                   return file.read(offset, to, std::min<std::uint64_t>(count, end - offset));
               }};
        banded = std::make_unique<Decompressor>(cut, limits);
        if (!banded->ReadHeader() || !banded->UseBands(*bands)) return false;
    } else if (!header.CoefficientsFit(limits)) {
        return false;
    }
    Decompressor& decoder = banded ? *banded : header;
    const int orientation = known >= 1 && known <= 8 ? known : JpegOrientation(file);
    // The stored picture is decoded at the box it fills once turned.
    const PixelSize box = UprightSize({width, height}, orientation);
    std::vector<std::uint8_t> turned;
    if (orientation != 1) {
        const std::uint64_t bytes = static_cast<std::uint64_t>(width) * height * 4;
        if (bytes > limits.maxDecoderMemory) return false;
        try {
            turned.resize(static_cast<std::size_t>(bytes));
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

    jpeg_decompress_struct& info = decoder.info();
    info.out_color_space = JCS_EXT_BGR;
    info.scale_num = static_cast<unsigned>(
        JpegDecodeEighths({static_cast<int>(info.image_width), static_cast<int>(info.image_height)},
                          box.width, box.height));
    info.scale_denom = 8;
    if (!decoder.Guard([&] { jpeg_start_decompress(&info); })) return false;

    if (orientation == 1) return ScaleDecoded(decoder, width, height, dest, stride, filter);
    const std::size_t boxStride = static_cast<std::size_t>(box.width) * 4;
    if (!ScaleDecoded(decoder, box.width, box.height, turned.data(), boxStride, filter))
        return false;
    OrientPixels(turned.data(), box, boxStride, dest, stride, orientation);
    return true;
}

} // namespace orv::imaging
