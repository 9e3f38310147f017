#pragma once

#include "breeder/bred_graph.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <string>

// A graph of docs/gallery (the tests run in tests/breeder), read as the
// breeder reads graphs.
inline breeder::BredGraph galleryGraph(const char* name)
{
    QFile file(QString("../../docs/gallery/%1.json").arg(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const std::string text = file.readAll().toStdString();
    tex::GraphError error;
    std::optional<breeder::BredGraph> graph = breeder::readBredGraph(text, error);
    EXPECT_TRUE(graph) << error.describe(name);
    return graph ? *graph : breeder::BredGraph{};
}
