// The OpenGL view of the model: the main window's client area.
#pragma once

#include <QOpenGLWidget>

class MainWindow;

// Marks the subobject display lists and texture lists as not built, as for a new GL context.
void forget_gl_objects();

class ModelView : public QOpenGLWidget {
  public:
    explicit ModelView(MainWindow& owner);
    ~ModelView() override;
    // Client size in device pixels, as the projection wants it.
    int pixel_width() const;
    int pixel_height() const;

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void paint_status_caption();

    MainWindow& owner_;
};
