#include "tools/texbake/manifest.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>

namespace texbake {

namespace {

using Digest = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

Digest startSha256()
{
    Digest digest(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
    return digest;
}

std::string finishHex(EVP_MD_CTX* digest)
{
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(digest, bytes, &length);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += hex[bytes[i] >> 4];
        text += hex[bytes[i] & 15];
    }
    return text;
}

const char* channelsName(tex::Channels channels)
{
    switch (channels) {
    case tex::Channels::Grey:
        return "grey";
    case tex::Channels::RGB:
        return "rgb";
    default:
        return "rgba";
    }
}

nlohmann::ordered_json gridEntry(const Options& options)
{
    nlohmann::ordered_json grid = {{"width", options.width}, {"height", options.height}};
    if (options.shape == GridShape::Flat) {
        grid["kind"] = "flat";
        grid["extent"] = options.extent;
        grid["origin"] = options.origin;
        grid["z"] = options.z;
    } else {
        grid["kind"] = "sphere";
        grid["radius"] = options.radius;
        grid["centre"] = options.centre;
    }
    return grid;
}

nlohmann::ordered_json regionEntry(const tex::Region& region)
{
    return {region.x, region.y, region.width, region.height};
}

// The output's name as the manifest gives it: without its folder, as the
// manifest usually lies beside it.
std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One key a line, and one tile a line, so that the file reads and diffs well.
std::string layout(const nlohmann::ordered_json& manifest)
{
    std::string text = "{\n";
    for (auto item = manifest.begin(); item != manifest.end(); ++item) {
        text += " " + nlohmann::ordered_json(item.key()).dump() + ": ";
        if (item.key() == "tiles") {
            text += "[\n";
            for (std::size_t i = 0; i < item->size(); ++i)
                text += "  " + (*item)[i].dump() + (i + 1 < item->size() ? ",\n" : "\n");
            text += " ]";
        } else {
            text += item->dump();
        }
        text += std::next(item) != manifest.end() ? ",\n" : "\n";
    }
    return text + "}\n";
}

} // namespace

std::string fileSha256(const std::string& path)
{
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::string();
    Digest digest = startSha256();
    std::vector<char> buffer(1 << 20);
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0)
        EVP_DigestUpdate(digest.get(), buffer.data(), got);
    if (std::ferror(file.get()))
        return std::string();
    return finishHex(digest.get());
}

std::string textSha256(const std::string& text)
{
    Digest digest = startSha256();
    EVP_DigestUpdate(digest.get(), text.data(), text.size());
    return finishHex(digest.get());
}

bool writeManifest(const Options& options, const tex::Graph& graph, tex::Channels channels, std::string& error)
{
    const std::string imageSha = fileSha256(options.outputPath);
    if (imageSha.empty()) {
        error = "cannot read back " + options.outputPath + ": " + std::strerror(errno);
        return false;
    }
    const tex::Tiling tiling = options.tiling.value_or(tex::Tiling{1, 1});
    nlohmann::ordered_json tiles = nlohmann::ordered_json::array();
    nlohmann::ordered_json baked = {{"file", baseName(options.outputPath)}, {"sha256", imageSha}};
    if (options.region) {
        baked["region"] = regionEntry(*options.region);
        tiles.push_back(baked);
    } else {
        for (int i = 0; i < tiling.count(); ++i) {
            nlohmann::ordered_json tile = {{"index", i}, {"region", regionEntry(tiling.tile(options.width, options.height, i))}};
            if (i == options.tile)
                tile.update(baked);
            tiles.push_back(tile);
        }
    }
    const nlohmann::ordered_json manifest = {
        {"format", "texbake-manifest"},
        {"version", 1},
        {"graph", {{"output", graph.output().id}, {"sha256", textSha256(tex::writeGraph(graph))}}},
        {"grid", gridEntry(options)},
        {"image",
         {{"format", options.format == ImageFormat::Png ? "png" : "ppm"},
          {"depth", options.depth == Depth::Eight ? 8 : 16},
          {"channels", channelsName(channels)}}},
        {"tiling", {{"columns", tiling.columns}, {"rows", tiling.rows}}},
        {"tiles", tiles},
    };
    const std::string text = layout(manifest);
    tex::AtomicFile file(options.manifestPath);
    if (!file.write(text.data(), text.size()) || !file.commit()) {
        const int cause = file.failure().error;
        error = "cannot write " + options.manifestPath + (cause != 0 ? ": " + std::string(std::strerror(cause)) : "");
        return false;
    }
    return true;
}

} // namespace texbake
