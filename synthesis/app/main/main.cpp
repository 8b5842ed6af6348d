// Program entry of Vesk.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("Vesk");
  QMainWindow window;
  window.setWindowTitle("Vesk");
  window.resize(1000, 700);
  window.show();
  return app.exec();
}
