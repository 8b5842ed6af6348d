// Program entry of Quillon Animator.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("Quillon Animator");
  QMainWindow window;
  window.setWindowTitle("Untitled - Quillon Animator");
  window.resize(1000, 700);
  window.show();
  return app.exec();
}
