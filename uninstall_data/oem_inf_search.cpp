// The product's OEM INF files: the copies Windows made of its INF in the
// Windows INF folder, recognised by the product name in their [Strings]
// section. Each joins the files to delete together with its precompiled
// twin, whose extension begins with "P" instead of "I".
#include "uninstall_data/oem_inf_search.h"

#include "uninstall_data/ini_values.h"

#include "platform/mbtext.h"
#include "system/oem_inf_files.h"

namespace {

const size_t kEntryWidth = TAVK_MAX_INSTALLED_FILE_NAME_LEN;

// The INF and its PNF twin, or nothing: false when the list has no room
// for both, since an INF must never be deleted without its twin.
bool AppendInfPair(UninstallData& data, const char* path) {
    if (data.installed_file_count > TAVK_MAX_NUM_INSTALLED_FILES - 2) return false;
    char* inf = data.installed_files[data.installed_file_count++];
    char* pnf = data.installed_files[data.installed_file_count++];
    MbCopy(inf, kEntryWidth + 1, path);
    MbCopy(pnf, kEntryWidth + 1, path);
    char* dot = (char*)MbFindLastChar(pnf, '.');
    dot[1] = 'P';
    return true;
}

// A path longer than a list entry could only be stored cut, naming
// another file: it is passed over. False when the list is full.
bool TakeInf(const char* path, void* context) {
    if (strlen(path) > kEntryWidth) return true;
    return AppendInfPair(*(UninstallData*)context, path);
}

struct ProductVisit {
    const char* product;
    bool (*visit)(const char* path, void* context);
    void* context;
};

}  // namespace

// Case matters; a name is read as at most 63 characters.
bool InfNamesProduct(const char* path, const char* product) {
    char name[64];
    GetPrivateProfileStringA("Strings", "FullProductName", "", name, sizeof name, path);
    return name[0] != 0 && strcmp(name, product) == 0;
}

// A search matches 8.3 names too ("X.INF-OLD" is also "X~1.INF"), and
// only a real INF has a PNF twin of the same name.
bool HasInfExtension(const char* name) {
    const char* dot = MbFindLastChar(name, '.');
    return dot && MbSameNoCase(dot, ".INF");
}

namespace {

bool VisitIfProducts(const char* path, const char*, void* context) {
    const ProductVisit& wanted = *(const ProductVisit*)context;
    return !InfNamesProduct(path, wanted.product) || wanted.visit(path, wanted.context);
}

}  // namespace

void VisitProductOemInfs(const char* product, bool (*visit)(const char* path, void* context),
                         void* context) {
    ProductVisit wanted = {product, visit, context};
    VisitOemInfs(VisitIfProducts, &wanted);
}

void AppendOemInfFiles(UninstallData& data) {
    VisitProductOemInfs(data.full_product_name, TakeInf, &data);
}
