// The device tools' request as any file might hold it, read in pieces of
// any size: the fields stay within their rooms and terminated, nothing empty
// is stored, and the pieces never change what is read.
#include "fuzz_support.h"
#include "devtools/tool_request.h"

namespace {

DeviceRequest whole, pieces;

void ReadWhole(const std::string& text) {
    RequestParser parser;
    BeginRequest(&parser, &whole);
    FeedRequest(&parser, text.data(), text.size());
    EndRequest(&parser);
}

template <size_t N> void CheckList(int count, int capacity, const char (*list)[N]) {
    FUZZ_CHECK(count >= 0 && count <= capacity);
    for (int i = 0; i < count; ++i) FUZZ_CHECK(Terminated(list[i]) && list[i][0] != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider in(bytes, size);
    size_t piece = in.ConsumeIntegralInRange<size_t>(1, 700);
    std::string text = in.ConsumeRemainingBytesAsString();
    ReadWhole(text);
    RequestParser parser;
    BeginRequest(&parser, &pieces);
    for (size_t at = 0; at < text.size(); at += piece)
        FeedRequest(&parser, text.data() + at, std::min(piece, text.size() - at));
    EndRequest(&parser);
    FUZZ_CHECK(memcmp(&whole, &pieces, sizeof whole) == 0);
    CheckList(whole.class_count, REQUEST_MAX_CLASSES, whole.classes);
    CheckList(whole.desc_count, REQUEST_MAX_DESCS, whole.descs);
    CheckList(whole.id_count, REQUEST_MAX_IDS, whole.ids);
    FUZZ_CHECK(Terminated(whole.service));
    FUZZ_CHECK(Terminated(whole.log));
    return 0;
}
