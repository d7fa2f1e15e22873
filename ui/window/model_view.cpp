// The model view: GL set-up, projection on resize, and the frame with its status caption.
#include "ui/window/model_view.h"

#include <GL/gl.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "render/draw_tables.h"
#include "render/gl_current.h"
#include "render/gl_setup.h"
#include "render/model_draw.h"
#include "render/pixel_format.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "ui/status_text.h"
#include "ui/window/fp_control.h"
#include "ui/window/main_window.h"

namespace {

// Display lists need the compatibility profile; ask for it by name.
QSurfaceFormat model_view_format() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(pixel_format_request.depth_bits);
    format.setRedBufferSize(pixel_format_request.color_bits / 3);
    format.setGreenBufferSize(pixel_format_request.color_bits / 3);
    format.setBlueBufferSize(pixel_format_request.color_bits / 3);
    format.setSwapBehavior(pixel_format_request.double_buffer ? QSurfaceFormat::DoubleBuffer
                                                              : QSurfaceFormat::SingleBuffer);
    return format;
}

} // namespace

ModelView::ModelView(MainWindow& owner) : QOpenGLWidget(&owner), owner_(owner) {
    setFormat(model_view_format());
    setMouseTracking(true); // moves without a button are seen too
    setFocusPolicy(Qt::StrongFocus);
    install_gl_current([this] {
        if (isValid())
            makeCurrent();
    });
}

ModelView::~ModelView() {
    install_gl_current({});
}

int ModelView::pixel_width() const {
    return static_cast<int>(std::lround(width() * devicePixelRatioF()));
}

int ModelView::pixel_height() const {
    return static_cast<int>(std::lround(height() * devicePixelRatioF()));
}

void forget_gl_objects() {
    std::fill_n(draw_tables.sobj_list_built, MAX_SOBJ, 0);
    for (TextureSlot& slot : model.textures)
        slot.loaded = 0;
}

void ModelView::initializeGL() {
    forget_gl_objects(); // names of an earlier context mean nothing in this one
    init_gl_state();
}

void ModelView::resizeGL(int, int) {
    set_projection(pixel_width(), pixel_height());
}

void ModelView::paintGL() {
    mask_fp_exceptions();
    draw_frame();
    if (view.model_loaded)
        paint_status_caption();
}

// QPainter drives GL with its own state; the model's fixed-function state, matrices and
// texture binding are saved around it so the next frame finds them as the renderer left them.
// The fixed-function tests still apply to QPainter's shaded fragments, so the ones the model
// leaves on (the alpha test that would drop anti-aliased glyphs, outline mode, culling, depth)
// are switched off while it paints.
void ModelView::paint_status_caption() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
        glMatrixMode(mode);
        glPushMatrix();
    }
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    {
        QPainter painter(this);
        QString text = QString::fromLatin1(status_caption_text());
        QFontMetrics metrics(painter.font());
        int top = height() - 20;
        painter.fillRect(QRect(0, top, metrics.horizontalAdvance(text), metrics.height()),
                         Qt::black);
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(QPoint(0, top + metrics.ascent()), text);
    }
    for (GLenum mode : {GL_TEXTURE, GL_MODELVIEW, GL_PROJECTION}) {
        glMatrixMode(mode);
        glPopMatrix();
    }
    glPopClientAttrib();
    glPopAttrib();
}

void ModelView::keyPressEvent(QKeyEvent* event) {
    owner_.key_pressed(*event);
}

void ModelView::mouseMoveEvent(QMouseEvent* event) {
    owner_.mouse_moved(*event);
}

void ModelView::wheelEvent(QWheelEvent* event) {
    owner_.wheel_turned(event->angleDelta().y());
}
