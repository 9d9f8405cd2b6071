// tavrin: the workbench. `tavrin [JOB.sam]` opens the job given on the command line at start-up,
// as Open would, without the dialog.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/TextFile.h"
#include "ui/TMainWindow.h"

int main(int argc, char** argv) {
  tavrin::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  QApplication::setApplicationName("TAVRIN");
  const QStringList args = QApplication::arguments();
  if (args.size() > 2 || (args.size() == 2 && (args[1] == "--help" || args[1] == "-h"))) {
    std::fprintf(args.size() > 2 ? stderr : stdout, "usage: tavrin [JOB.sam]\n");
    return args.size() > 2 ? 2 : 0;
  }
  tavrin::TMainWindow window;
  window.show();
  if (args.size() == 2) window.OpenJob(args[1].toStdString());
  const int status = app.exec();
  // A solve stopped inside its factorization may still be running alone: its result is not
  // wanted, and the program ends now rather than when it returns.
  if (window.Runner().WorkersLeft()) std::quick_exit(status);
  return status;
}
