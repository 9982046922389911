#include "toolkit/zipcore/block_deflater.h"

#include <libdeflate.h>

#include <new>

namespace zipcore {

BlockDeflater::BlockDeflater(int level) : compressor_(libdeflate_alloc_compressor(level)) {
    if (!compressor_) throw std::bad_alloc();
}

BlockDeflater::~BlockDeflater() { libdeflate_free_compressor(compressor_); }

size_t BlockDeflater::deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    if (size == 0) return 0;
    const size_t bound = libdeflate_deflate_compress_bound(compressor_, size);
    if (out.size() < bound) out.resize(bound);
    const size_t packed = libdeflate_deflate_compress(compressor_, data, size, out.data(), out.size());
    return packed < size ? packed : 0;
}

}  // namespace zipcore
