#pragma once

#include "world/world_document.h"
#include "shape/shape_file.h"
#include "tests/shape/record_bits.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The most creatures the fuzzer's files hold: a bound of its own, well
// below the world's, so that each input stays quick.
constexpr std::size_t worldFuzzCap = 600;

[[noreturn]] inline void roundTripFailed(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "round trip broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

inline std::vector<const SuperFormula*> creaturesOf(const std::vector<std::unique_ptr<SuperFormula>>& owned)
{
    std::vector<const SuperFormula*> creatures;
    for (const auto& creature : owned)
        creatures.push_back(creature.get());
    return creatures;
}

inline void requireSameCreatures(const std::vector<std::unique_ptr<SuperFormula>>& a,
                                 const std::vector<std::unique_ptr<SuperFormula>>& b)
{
    if (a.size() != b.size())
        roundTripFailed("the number of creatures changed");
    for (std::size_t i = 0; i < a.size(); ++i)
        if (const char* field = firstDifference(*a[i], *b[i]))
            roundTripFailed("a creature's field changed:", QString::fromLatin1(field));
}

// What the reader makes of a saved document, which it must accept.
inline QJsonObject reread(const QJsonObject& saved)
{
    QString error;
    const QJsonObject document = parseFormatDocument(formatDocumentBytes(saved), error);
    if (document.isEmpty())
        roundTripFailed("a saved document is refused:", error);
    return document;
}

// Reads `bytes` as a world file and as a creature file. Whatever either
// accepts is saved again, and the saved text must read back to the same
// world (rate, mode, next id and every creature's numbers and lineage bit
// for bit); aborts
// otherwise. Returns whether either accepted the bytes.
inline bool requireRoundTrip(const QByteArray& bytes)
{
    QString error;
    const QJsonObject document = parseFormatDocument(bytes, error);
    if (document.isEmpty())
        return false;

    bool accepted = false;
    WorldRecord world;
    if (worldFromDocument(document, worldFuzzCap, world, error)) {
        accepted = true;
        QJsonObject saved;
        if (!worldToDocument(world.mutationRate, world.mode, world.nextId, creaturesOf(world.creatures), saved, error))
            roundTripFailed("an accepted world cannot be saved:", error);
        WorldRecord again;
        if (!worldFromDocument(reread(saved), worldFuzzCap, again, error))
            roundTripFailed("a saved world is refused:", error);
        if (std::memcmp(&world.mutationRate, &again.mutationRate, sizeof(double)) != 0 || world.mode != again.mode
            || world.nextId != again.nextId)
            roundTripFailed("the rate, the mode or the next id changed");
        requireSameCreatures(world.creatures, again.creatures);
    }

    std::vector<std::unique_ptr<SuperFormula>> creature;
    if (shapesFromDocument(document, 1, creature, error)) {
        accepted = accepted || !creature.empty();
        QJsonObject saved;
        if (!shapesToDocument(creaturesOf(creature), saved, error))
            roundTripFailed("an accepted creature cannot be saved:", error);
        std::vector<std::unique_ptr<SuperFormula>> again;
        if (!shapesFromDocument(reread(saved), 1, again, error))
            roundTripFailed("a saved creature is refused:", error);
        requireSameCreatures(creature, again);
    }
    return accepted;
}
