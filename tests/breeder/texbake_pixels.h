#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What texbake writes for the graph file `graph` over the world background's
// grid (512 x 512 over [0, 16)^2), as RGBA8888; null when it fails.
inline QImage texbakePixels(const QString& graph)
{
#ifdef TEXBAKE
    QTemporaryDir folder;
    const QString png = folder.filePath("out.png");
    QProcess texbake;
    texbake.start(TEXBAKE, {graph, "-o", png, "--width", "512", "--height", "512", "--extent", "16", "--quiet"});
    EXPECT_TRUE(texbake.waitForFinished(-1));
    EXPECT_EQ(texbake.exitCode(), 0) << texbake.readAllStandardError().toStdString();
    return QImage(png).convertToFormat(QImage::Format_RGBA8888);
#else
    (void)graph;
    return QImage();
#endif
}

inline bool haveTexbake()
{
#ifdef TEXBAKE
    return true;
#else
    return false;
#endif
}
