#include "window/win32/Pictures.h"

#include <windows.h>

#include <array>
#include <stdexcept>

#include "window/win32/Decoder.h"

namespace window::win32 {

namespace {

constexpr Rendering kRenderings[] = {
#include "PictureTable.inc"
};

// Sizes kept per picture; a sheet has a handful of marker sizes.
constexpr std::size_t kScaledLimit = 64;

struct Resource {
    const void* data;
    std::size_t size;
};

// Resources live in the executable and stay mapped for the process's life.
Resource loadResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        throw std::logic_error("built-in picture resource " + std::to_string(id) +
                               " is missing from the executable");
    }
    return {data, SizeofResource(module, found)};
}

}  // namespace

std::span<const Rendering> renderings() {
    return kRenderings;
}

std::vector<Rendering> renderingsOf(std::string_view picture) {
    std::vector<Rendering> found;
    for (const Rendering& rendering : kRenderings) {
        if (rendering.picture == picture) {
            found.push_back(rendering);
        }
    }
    if (found.empty()) {
        throw std::logic_error("unknown artwork picture: " + std::string(picture));
    }
    return found;
}

const Rendering& chooseRendering(std::span<const Rendering> choices, int width, int height) {
    const Rendering* best = nullptr;
    const Rendering* largest = &choices.front();
    for (const Rendering& choice : choices) {
        const long long area = static_cast<long long>(choice.width) * choice.height;
        if (area > static_cast<long long>(largest->width) * largest->height) {
            largest = &choice;
        }
        if (choice.width >= width && choice.height >= height &&
            (!best || area < static_cast<long long>(best->width) * best->height)) {
            best = &choice;
        }
    }
    return best ? *best : *largest;
}

Picture makePicture(std::string artwork) {
    return std::make_shared<const PictureData>(std::move(artwork));
}

}  // namespace window::win32

namespace window {

PictureData::PictureData(std::string artwork)
    : m_artwork(std::move(artwork)), m_renderings(win32::renderingsOf(m_artwork)) {}

const win32::Bitmap& PictureData::at(int width, int height) const {
    const auto key = std::make_pair(width, height);
    auto found = m_scaled.find(key);
    if (found == m_scaled.end()) {
        if (m_scaled.size() >= win32::kScaledLimit) {
            m_scaled.clear();
        }
        const win32::Rendering& source = win32::chooseRendering(m_renderings, width, height);
        const auto resource = win32::loadResource(source.resource);
        found = m_scaled.emplace(key, win32::decodePng(resource.data, resource.size, width, height))
                    .first;
    }
    return found->second;
}

}  // namespace window
