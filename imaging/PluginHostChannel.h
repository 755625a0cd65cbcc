// What the program and its plug-in host share: the host program's name, the
// block through which requests and answers pass, and the memory section a
// decoded picture crosses in, copied a band at a time so that neither
// process maps more than a band of a large picture at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelmira {

// The host program, installed beside the program.
inline constexpr wchar_t kPluginHostFile[] = L"PelmiraSpiHost.exe";

// Room for a request or an answer: every path of sixteen plug-ins at their
// longest, or every pattern they may announce.
constexpr std::size_t kChannelPayload = 1u << 20;

// The shared block. Its two sides take turns through the two events, one
// saying a request is ready and one that its answer is; only the call
// fields are written by the host while the program watches them.
struct THostChannel {
    volatile LONG callingSlot; // the slot whose code runs now, -1 for none
    volatile LONG callCount;   // one more at each call into a plug-in
    std::uint32_t request;     // a PluginRequest
    std::uint32_t bytes;       // of the request, then of the answer
    std::uint8_t payload[kChannelPayload];
};

// A decoded picture's two blocks, the bitmap information and the pixels,
// which lie one after the other in a section.
struct TPictureBlocks {
    std::span<std::uint8_t> info;
    std::span<std::uint8_t> pixels;
    std::uint64_t Size() const { return std::uint64_t{info.size()} + pixels.size(); }
};

// Copies between the blocks and a band of a section mapped at `at`: the
// part of the blocks the band covers, into the band when `toBand`.
void CopyBand(const TPictureBlocks& blocks, std::uint64_t at, std::span<std::uint8_t> band,
              bool toBand);

// Copies between the blocks and the section, band by band: into the section
// when `toSection`, else out of it. False when a band cannot be mapped (a
// section smaller than the blocks, or no address space for a band).
bool CopyThroughSection(HANDLE section, const TPictureBlocks& blocks, bool toSection);

} // namespace pelmira
