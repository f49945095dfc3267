#pragma once

#include <QStringList>
#include <ostream>

// zenx-content's commands; returns the exit code.
//   build SOURCE_DIR OUT_DIR [--pictures DIR]...
//   dump IDbRecs.dat DIR
//   ls zernox2.dat
//   extract zernox2.dat DIR [NAME]...
//   check SOURCE_DIR [--pictures DIR]... [--archive zernox2.dat]
int RunContentTool(const QStringList& args, std::ostream& out, std::ostream& err);
