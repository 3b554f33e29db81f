// The heap's settings: once set, memory freed at the top of the heap stays with the process (so
// that the renderer's per-frame allocations do not grow the heap and fault its pages in again every
// frame) until a trim hands it back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/heap.h"

#if defined(__SANITIZE_ADDRESS__)
TEST(Heap, FreedMemoryStaysUntilTrimmed) {
    GTEST_SKIP() << "AddressSanitizer has its own allocator, which takes no glibc settings";
}
#else
namespace {
constexpr size_t kBlockBytes = 64 << 10;  // below the 128 KB from which glibc maps blocks apart
constexpr int kBlocks = 64;               // 4 MB in all: far above glibc's default trim threshold

uintptr_t HeapTop() {
    return reinterpret_cast<uintptr_t>(sbrk(0));
}
}  // namespace

TEST(Heap, FreedMemoryStaysUntilTrimmed) {
    ASSERT_TRUE(ConfigureHeap());
    std::vector<void*> blocks(kBlocks);
    for (void*& block : blocks) {
        block = std::malloc(kBlockBytes);
        ASSERT_NE(block, nullptr);
        static_cast<char*>(block)[0] = 1;
    }
    const uintptr_t grown = HeapTop();
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
    EXPECT_EQ(HeapTop(), grown) << "the heap was trimmed as soon as memory was freed";

    ASSERT_TRUE(TrimHeap());
    EXPECT_LE(HeapTop() + kBlocks * kBlockBytes / 2, grown) << "a trim handed nothing back";
}
#endif
