// A driver INF as any file in the INF folder might hold it, read in pieces
// of any size and as bytes or UTF-16: the verdict and every section name
// noted stay the same whatever the pieces, within their rooms and
// terminated, and a package is named only by a requested id.
#include "fuzz_support.h"
#include "devtools/inf_models.h"

namespace {

DeviceRequest request;
InfScan whole, pieces;

bool Scan(InfScan* scan, const std::string& text, size_t piece) {
    BeginInfScan(scan, &request);
    for (size_t at = 0; at < text.size(); at += piece)
        FeedInfScan(scan, text.data() + at, std::min(piece, text.size() - at));
    return EndInfScan(scan);
}

void CheckNames(int count, const char (*names)[INF_SECTION_SIZE]) {
    FUZZ_CHECK(count >= 0 && count <= INF_MAX_SECTIONS);
    for (int i = 0; i < count; ++i) FUZZ_CHECK(Terminated(names[i]) && names[i][0] != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    PickCodePage(in);
    memset(&request, 0, sizeof request);
    request.id_count = in.ConsumeBool() ? 1 : 0;
    strcpy(request.ids[0], "PCI\\VEN_1B2C&DEV_0011");
    size_t piece = in.ConsumeIntegralInRange<size_t>(1, 700);
    std::string text = in.ConsumeRemainingBytesAsString();
    bool named = Scan(&whole, text, text.size() ? text.size() : 1);
    FUZZ_CHECK(named == Scan(&pieces, text, piece));
    FUZZ_CHECK(whole.model_count == pieces.model_count && whole.hit_count == pieces.hit_count);
    CheckNames(whole.model_count, whole.models);
    CheckNames(whole.hit_count, whole.hits);
    FUZZ_CHECK(!named || request.id_count == 1);
    return 0;
}
