#include "breeder/background_bake.h"

#include <algorithm>
#include <utility>

namespace {

// How many bands a bake is cut into, so that it can say how far it is.
constexpr int bands = 32;

} // namespace

tex::Grid BackgroundBake::backgroundGrid()
{
    return tex::Grid::flat(512, 512, 16.0, 0.0, 0.0, 0.0);
}

BackgroundBake::BackgroundBake(const tex::Grid& grid, QObject* parent)
    : QObject(parent), grid(grid), cancel(std::make_shared<std::atomic<bool>>(false))
{
    pool.setMaxThreadCount(1);
}

BackgroundBake::~BackgroundBake()
{
    cancel->store(true);
    pool.waitForDone();
}

void BackgroundBake::bake(const std::string& text, const QString& source)
{
    cancel->store(true);
    cancel = std::make_shared<std::atomic<bool>>(false);
    const int number = ++bakes;
    running = true;
    pool.start([this, number, text, source, flag = cancel] { run(number, text, source, flag); });
}

template <typename Call>
void BackgroundBake::report(int number, Call call)
{
    QMetaObject::invokeMethod(
        this,
        [this, number, call = std::move(call)]() mutable {
            if (number == bakes)
                call();
        },
        Qt::QueuedConnection);
}

void BackgroundBake::run(int number, const std::string& text, const QString& source,
                         const std::shared_ptr<std::atomic<bool>>& flag)
{
    tex::GraphError error;
    const std::optional<tex::Graph> graph = tex::readGraph(text, error);
    if (!graph) {
        const QString message = QString::fromStdString(error.describe(source.toStdString()));
        report(number, [this, message] {
            running = false;
            emit refused(message);
        });
        return;
    }

    QImage image(grid.width(), grid.height(), QImage::Format_RGBA8888);
    const int rowsPerBand = std::max(1, (grid.height() + bands - 1) / bands);
    tex::BakeOptions options;
    options.cancel = flag.get();
    const tex::GraphNode& output = graph->output();
    for (int row = 0; row < grid.height(); row += rowsPerBand) {
        const int rows = std::min(rowsPerBand, grid.height() - row);
        options.region = tex::Region{0, row, grid.width(), rows};
        // Lines of four-byte pixels carry no padding: the bake's rows are
        // the image's lines.
        std::uint8_t* out = image.scanLine(row);
        const bool done = output.colour ? tex::bakePixels(*output.colour, grid, tex::Channels::RGBA, out, options)
                                        : tex::bakePixels(*output.field, grid, tex::Channels::RGBA, out, options);
        if (!done)
            return;
        const int percent = int((row + rows) * 100LL / grid.height());
        report(number, [this, percent] { emit progressed(percent); });
    }
    report(number, [this, image, written = tex::writeGraph(*graph)] {
        finished = image;
        finishedText = written;
        running = false;
        emit baked();
    });
}
