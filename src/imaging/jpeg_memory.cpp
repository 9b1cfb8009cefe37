#include "imaging/jpeg_memory.h"

#include <algorithm>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>

#include <jpeglib.h>
// jerror.h and jmemsys.h after jpeglib.h
#include <jerror.h>
extern "C" {
#include <jmemsys.h>
}

namespace orv::imaging {

void ScratchStore::Allow(ScratchFiles open, std::uint64_t maxBytes, std::uint64_t maxTraffic) {
    open_ = std::move(open);
    maxBytes_ = maxBytes;
    maxTraffic_ = maxTraffic;
}

bool ScratchStore::Open(backing_store_struct* owner, std::uint64_t bytes) noexcept {
    if (!open_ || bytes > maxBytes_ - std::min(bytes_, maxBytes_)) return false;
    try {
        std::unique_ptr<ScratchFile> file = open_();
        if (!file) return false;
        files_.emplace_back(owner, std::move(file));
    } catch (...) {
        return false;
    }
    bytes_ += bytes;
    return true;
}

bool ScratchStore::Move(backing_store_struct* owner, bool write, void* buffer, std::uint64_t offset,
                        std::uint64_t count) noexcept {
    if (count > maxTraffic_ - std::min(traffic_, maxTraffic_)) return false;
    traffic_ += count;
    const auto file = std::find_if(files_.begin(), files_.end(),
                                   [owner](const auto& entry) { return entry.first == owner; });
    if (file == files_.end()) return false;
    const auto size = static_cast<std::size_t>(count);
    return write ? file->second->Write(offset, buffer, size)
                 : file->second->Read(offset, buffer, size);
}

void ScratchStore::Close(backing_store_struct* owner) noexcept {
    std::erase_if(files_, [owner](const auto& entry) { return entry.first == owner; });
}

} // namespace orv::imaging

// The functions libjpeg's memory manager calls. A failure leaves through
// ERREXIT, a longjmp: nothing here may need destroying at that point.
extern "C" {

namespace {

orv::imaging::ScratchStore* StoreOf(j_common_ptr info) {
    const auto* client = static_cast<const orv::imaging::JpegClient*>(info->client_data);
    return client ? client->store : nullptr;
}

void ReadStore(j_common_ptr info, backing_store_ptr owner, void* buffer, long offset, long count) {
    if (offset < 0 || count < 0 || !StoreOf(info)->Move(owner, false, buffer, offset, count))
        ERREXIT(info, JERR_TFILE_READ);
}

void WriteStore(j_common_ptr info, backing_store_ptr owner, void* buffer, long offset, long count) {
    if (offset < 0 || count < 0 || !StoreOf(info)->Move(owner, true, buffer, offset, count))
        ERREXIT(info, JERR_TFILE_WRITE);
}

void CloseStore(j_common_ptr info, backing_store_ptr owner) {
    StoreOf(info)->Close(owner);
}

} // namespace

void* jpeg_get_small(j_common_ptr, size_t bytes) {
    return std::malloc(bytes);
}

void jpeg_free_small(j_common_ptr, void* object, size_t) {
    std::free(object);
}

void* jpeg_get_large(j_common_ptr, size_t bytes) {
    return std::malloc(bytes);
}

void jpeg_free_large(j_common_ptr, void* object, size_t) {
    std::free(object);
}

size_t jpeg_mem_available(j_common_ptr info, size_t, size_t maxBytesNeeded,
                          size_t alreadyAllocated) {
    const long limit = info->mem->max_memory_to_use;
    if (limit <= 0) return maxBytesNeeded;
    const auto bytes = static_cast<size_t>(limit);
    return bytes > alreadyAllocated ? bytes - alreadyAllocated : 0;
}

void jpeg_open_backing_store(j_common_ptr info, backing_store_ptr owner, long bytes) {
    orv::imaging::ScratchStore* store = StoreOf(info);
    if (!store) ERREXIT(info, JERR_NO_BACKING_STORE);
    if (bytes < 0 || !store->Open(owner, static_cast<std::uint64_t>(bytes)))
        ERREXIT(info, JERR_TFILE_CREATE);
    owner->read_backing_store = ReadStore;
    owner->write_backing_store = WriteStore;
    owner->close_backing_store = CloseStore;
}

long jpeg_mem_init(j_common_ptr) {
    return 0; // no limit until the decompressor sets one
}

void jpeg_mem_term(j_common_ptr) {}

} // extern "C"
