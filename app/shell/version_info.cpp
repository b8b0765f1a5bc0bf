#include "app/shell/version_info.h"

#include <QFile>

namespace vocor {

bool ReadVersionInfo(const char* resource) {
  QFile file(QString::fromUtf8(resource));
  if (!file.open(QIODevice::ReadOnly)) return false;
  CVersionInfo info;
  if (!ParseVersionText(file.readAll().toStdString(), &info)) return false;
  SetVersionInfo(info);
  return true;
}

}  // namespace vocor
