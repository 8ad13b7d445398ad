// Placeholder entry until the setting tool's windows exist.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label("RCV910X - Setting tool: under construction");
  label.resize(400, 100);
  label.show();
  return app.exec();
}
