#include "tools/serve/preview_assets.h"

// The table generated from the page's files at build time.
extern const PreviewAsset kPreviewAssets[];
extern const size_t kPreviewAssetCount;

const PreviewAsset* find_preview_asset(std::string_view path) {
    for (size_t i = 0; i < kPreviewAssetCount; ++i)
        if (path == kPreviewAssets[i].path) return &kPreviewAssets[i];
    return nullptr;
}
