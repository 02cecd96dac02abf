// The folders are layers: every include of src/ and sim/ must point to its own folder or to a folder
// that layers.txt lists on an earlier line. The rule is checked on the tree as it is, and the reader
// of layers.txt and the judge of one include are checked on cases of their own.

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Folder (as the repository names it, "src/panel" or "sim") -> its line in layers.txt, from 0.
using Layers = QHash<QString, int>;

Layers parseLayers(const QString& text)
{
    Layers layers;
    int level = 0;
    for (QString line : text.split(u'\n')) {
        line = line.section(u'#', 0, 0).simplified();
        if (line.isEmpty())
            continue;
        for (const QString& folder : line.split(u' '))
            layers.insert(folder, level);
        ++level;
    }
    return layers;
}

// The folder an include names: "panel/read_back.h" -> "src/panel", "sim/instrument.h" -> "sim".
QString includedFolder(const QString& include, const Layers& layers)
{
    const QString first = include.section(u'/', 0, 0);
    return layers.contains(first) ? first : QStringLiteral("src/") + first;
}

// Empty when `folder` may include `include`, otherwise why not.
QString judge(const QString& folder, const QString& include, const Layers& layers)
{
    if (!include.contains(u'/'))
        return {}; // a header beside the file
    const QString target = includedFolder(include, layers);
    if (!layers.contains(target))
        return target + QStringLiteral(" is not in layers.txt");
    if (!layers.contains(folder))
        return folder + QStringLiteral(" is not in layers.txt");
    if (target == folder || layers[target] < layers[folder])
        return {};
    return layers[target] == layers[folder] ? QStringLiteral("peer folder ") + target
                                            : QStringLiteral("upward to ") + target;
}

TEST(Layering, JudgesAnIncludeByTheDeclaredOrder)
{
    const Layers layers = parseLayers(QStringLiteral("src/base # ground\n\nsim\nsrc/trend src/help\n"));
    ASSERT_EQ(layers.size(), 4);
    const struct
    {
        const char* folder;
        const char* include;
        bool allowed;
    } cases[] = {
        {"sim", "base/numbers.h", true},
        {"src/trend", "sim/instrument.h", true},
        {"src/trend", "trend/trend_chart.h", true},
        {"src/base", "numbers.h", true},
        {"src/base", "sim/instrument.h", false},
        {"sim", "trend/trend_chart.h", false},
        {"src/trend", "help/about_box.h", false},
        {"src/trend", "remote/server.h", false},
        {"src/extra", "base/numbers.h", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(judge(QString::fromLatin1(c.folder), QString::fromLatin1(c.include), layers).isEmpty(),
                  c.allowed)
            << c.folder << " includes " << c.include;
    }
}

TEST(Layering, NoIncludeOfSrcOrSimRunsAgainstTheOrderInLayersTxt)
{
    const QString root = QStringLiteral(ORX_SOURCE_DIR);
    QFile declared(root + QStringLiteral("/layers.txt"));
    ASSERT_TRUE(declared.open(QIODevice::ReadOnly)) << "layers.txt";
    const Layers layers = parseLayers(QString::fromUtf8(declared.readAll()));

    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    QStringList violations;
    int files = 0;
    for (const QString& top : {QStringLiteral("src"), QStringLiteral("sim")}) {
        QDirIterator it(root + u'/' + top, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(root.size() + 1);
            const QString folder = path.section(u'/', 0, top == u"sim" ? 0 : 1);
            QFile file(it.filePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
            ++files;
            for (const auto& match : include.globalMatch(QString::fromUtf8(file.readAll()))) {
                if (const QString why = judge(folder, match.captured(1), layers); !why.isEmpty())
                    violations.append(path + QStringLiteral(": ") + match.captured(1) + QStringLiteral(": ") +
                                      why);
            }
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(violations.isEmpty()) << qPrintable(violations.join(u'\n'));
}

} // namespace
