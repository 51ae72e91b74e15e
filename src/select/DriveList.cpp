#include "select/DriveList.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace zelvan {

std::vector<Drive> mountedDrives()
{
    std::vector<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        QString name = volume.name();
        if (name.isEmpty())
            name = QString::fromUtf8(volume.device());
        const QString root = volume.rootPath();
        drives.push_back(
            {(root + QStringLiteral(" [") + name + QLatin1Char(']')).toStdString(), root.toStdString(), true});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

Drive homeFolder()
{
    const QString home = QDir::homePath();
    return {(home + QStringLiteral(" [Persönlicher Ordner]")).toStdString(), home.toStdString()};
}

std::vector<Drive> searchPlaces()
{
    std::vector<Drive> places{homeFolder()};
    for (Drive& drive : mountedDrives()) {
        // A home folder that is a volume of its own is listed once.
        if (drive.root != places.front().root)
            places.push_back(std::move(drive));
    }
    return places;
}

std::size_t driveIndexFor(const std::vector<Drive>& drives, const std::string& folder)
{
    std::size_t best = 0;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].root;
        const bool inside = folder.starts_with(root) &&
                            (folder.size() == root.size() || root.ends_with('/') || folder[root.size()] == '/');
        if (inside && root.size() >= bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace zelvan
