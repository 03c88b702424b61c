#include "platform/web/PageScreen.h"

#include <emscripten.h>
#include <wasm_simd128.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// Makes the canvas's WebGL context ready to draw a `width` x `height` picture: a texture of
// that size in RGB565, a 64 x 1 table of the gamma ramp (texel i holds the ramp's red and blue
// for the 5-bit value i, and its green for the 6-bit value i), and a shader that draws the
// picture through the table while `useRamp` is set. Returns 0 where there is no WebGL.
EM_JS(int, OpenWebGlScreen, (int width, int height), {
  const canvas = Module['canvas'];
  const gl = canvas && canvas.getContext('webgl', {
    alpha: false, depth: false, stencil: false, antialias: false, premultipliedAlpha: false });
  if (!gl || gl.isContextLost()) return 0;
  if (!canvas.kelvoraKeepsContext) {
    // A lost context is given back only to a page that says it wants it back.
    canvas.addEventListener('webglcontextlost', function(event) { event.preventDefault(); });
    canvas.kelvoraKeepsContext = true;
  }
  function shader(type, source) {
    const s = gl.createShader(type);
    gl.shaderSource(s, source);
    gl.compileShader(s);
    return s;
  }
  const program = gl.createProgram();
  gl.attachShader(program, shader(gl.VERTEX_SHADER,
    'attribute vec2 corner; varying vec2 at;' +
    'void main() { at = corner; gl_Position = vec4(corner.x * 2.0 - 1.0, 1.0 - corner.y * 2.0, 0.0, 1.0); }'));
  gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
    'precision mediump float; uniform sampler2D picture, ramp; uniform bool useRamp; varying vec2 at;' +
    'void main() {' +
    '  vec3 c = texture2D(picture, at).rgb;' +
    '  if (useRamp) {' +
    '    vec3 i = (c * vec3(31.0, 63.0, 31.0) + 0.5) / 64.0;' +
    '    c = vec3(texture2D(ramp, vec2(i.r, 0.5)).r, texture2D(ramp, vec2(i.g, 0.5)).g,' +
    '             texture2D(ramp, vec2(i.b, 0.5)).b);' +
    '  }' +
    '  gl_FragColor = vec4(c, 1.0);' +
    '}'));
  gl.bindAttribLocation(program, 0, 'corner');
  gl.linkProgram(program);
  if (!gl.getProgramParameter(program, gl.LINK_STATUS)) return 0;
  gl.useProgram(program);
  gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
  gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([0, 0, 1, 0, 0, 1, 1, 1]), gl.STATIC_DRAW);
  gl.enableVertexAttribArray(0);
  gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
  function texture(unit, w, h, format, type) {
    gl.activeTexture(gl.TEXTURE0 + unit);
    gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.LINEAR);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.LINEAR);
    gl.texImage2D(gl.TEXTURE_2D, 0, format, w, h, 0, format, type, null);
  }
  texture(1, 64, 1, gl.RGB, gl.UNSIGNED_BYTE);
  texture(0, width, height, gl.RGB, gl.UNSIGNED_SHORT_5_6_5);
  gl.uniform1i(gl.getUniformLocation(program, 'picture'), 0);
  gl.uniform1i(gl.getUniformLocation(program, 'ramp'), 1);
  gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
  gl.disable(gl.DITHER);
  gl.clearColor(0, 0, 0, 1);
  Module.kelvoraScreen = {
    gl: gl, width: width, height: height, filter: gl.LINEAR,
    useRamp: gl.getUniformLocation(program, 'useRamp') };
  return 1;
});

EM_JS(int, WebGlScreenLost, (), {
  return Module.kelvoraScreen.gl.isContextLost() ? 1 : 0;
});

// Rows `top` to `top + rows` of the frame go to the texture as they are, read where the
// program keeps them (`pixels` is the first of them).
EM_JS(void, UploadToWebGlScreen, (const uint16_t* pixels, int top, int rows), {
  const s = Module.kelvoraScreen, gl = s.gl;
  gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, top, s.width, rows, gl.RGB, gl.UNSIGNED_SHORT_5_6_5,
                   HEAPU16.subarray(pixels >> 1, (pixels >> 1) + s.width * rows));
});

// `table`: the ramp's 64 x 1 RGB texels, or null for the identity.
EM_JS(void, SetWebGlScreenRamp, (const uint8_t* table), {
  const s = Module.kelvoraScreen, gl = s.gl;
  if (table) {
    gl.activeTexture(gl.TEXTURE1);
    gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 64, 1, gl.RGB, gl.UNSIGNED_BYTE,
                     HEAPU8.subarray(table, table + 64 * 3));
    gl.activeTexture(gl.TEXTURE0);
  }
  gl.uniform1i(s.useRamp, table ? 1 : 0);
});

// Draws the picture at (x, y) of the canvas, w x h (y from the top), black around it.
EM_JS(void, DrawWebGlScreen, (int x, int y, int w, int h, int sharp), {
  const s = Module.kelvoraScreen, gl = s.gl;
  const filter = sharp ? gl.NEAREST : gl.LINEAR;
  if (filter !== s.filter) {
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, filter);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, filter);
    s.filter = filter;
  }
  const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
  if (x > 0 || y > 0 || w < width || h < height) {
    gl.viewport(0, 0, width, height);
    gl.clear(gl.COLOR_BUFFER_BIT);
  }
  gl.viewport(x, height - y - h, w, h);
  gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
});

EM_JS(int, WebGlScreenWidth, (), { return Module.kelvoraScreen.gl.drawingBufferWidth; });
EM_JS(int, WebGlScreenHeight, (), { return Module.kelvoraScreen.gl.drawingBufferHeight; });

// clang-format on

// Whether `n` pixels from `a` and from `b` differ, eight at a time.
bool RowsDiffer(const uint16_t* a, const uint16_t* b, int n) {
  v128_t differ = wasm_i64x2_splat(0);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    differ = wasm_v128_or(differ, wasm_v128_xor(wasm_v128_load(a + i), wasm_v128_load(b + i)));
  }
  for (; i < n; ++i) {
    if (a[i] != b[i]) return true;
  }
  return wasm_v128_any_true(differ);
}

class TWebGlScreen : public platform::TPageScreen {
 public:
  TWebGlScreen(int width, int height) : width_(width), height_(height) {}

  bool Lost() const override { return WebGlScreenLost() != 0; }

  // The frame goes to WebGL as it is drawn: uploaded right after the last frame was drawn from
  // the same texture, it would make the browser wait for that drawing or copy the texture.
  void Upload(const uint16_t* pixels) override { pixels_ = pixels; }

  void SetGammaRamp(const uint16_t* ramp) override {
    if (!ramp) {
      SetWebGlScreenRamp(nullptr);
      drawn_ = false;
      return;
    }
    // Each channel's value widened to 8 bits as the texture's are, then through the ramp.
    for (int i = 0; i < 64; ++i) {
      const int v5 = (i << 3) | (i >> 2), v6 = (i << 2) | (i >> 4);
      table_[i * 3] = i < 32 ? uint8_t(ramp[v5] >> 8) : 0;
      table_[i * 3 + 1] = uint8_t(ramp[256 + v6] >> 8);
      table_[i * 3 + 2] = i < 32 ? uint8_t(ramp[512 + v5] >> 8) : 0;
    }
    SetWebGlScreenRamp(table_.data());
    drawn_ = false;
  }

  void Show() override {
    const int outWidth = WebGlScreenWidth(), outHeight = WebGlScreenHeight();
    const platform::TPicturePlace place(outWidth, outHeight, width_, height_);
    // Whole scales keep sharp pixels: the side that limits the picture is a whole multiple.
    const bool sharp = place.Scale >= 1 && place.Scale == int(place.Scale);
    const std::array<int, 6> at{outWidth, outHeight, place.X, place.Y, place.Width, place.Height};
    if (at != drawnAt_) drawn_ = false;
    if (pixels_ && UploadChangedRows()) drawn_ = false;
    // A canvas not drawn into keeps showing what was last drawn.
    if (drawn_) return;
    DrawWebGlScreen(place.X, place.Y, place.Width, place.Height, sharp);
    drawnAt_ = at;
    drawn_ = true;
  }

 private:
  // Only the rows from the first to the last that differ from the texture's are uploaded, and
  // none where the frame is the one shown already (the game draws every display frame, while
  // the garden moves a few times a second): the upload is the most of a shown frame's cost.
  // Returns whether any were.
  bool UploadChangedRows() {
    const size_t size = size_t(width_) * height_;
    int first = 0, last = height_ - 1;
    if (shown_.size() != size) {
      shown_.resize(size);
    } else {
      while (first <= last && !RowsDiffer(Row(pixels_, first), Row(shown_.data(), first), width_)) {
        ++first;
      }
      if (first > last) return false;
      while (!RowsDiffer(Row(pixels_, last), Row(shown_.data(), last), width_)) --last;
    }
    const int rows = last - first + 1;
    std::memcpy(Row(shown_.data(), first), Row(pixels_, first), size_t(width_) * rows * 2);
    UploadToWebGlScreen(Row(pixels_, first), first, rows);
    return true;
  }
  template <typename T>
  T* Row(T* pixels, int y) const {
    return pixels + size_t(y) * width_;
  }

  int width_, height_;
  const uint16_t* pixels_ = nullptr;
  // The frame the texture holds, and whether it was drawn into the canvas as it stands, where.
  std::vector<uint16_t> shown_;
  bool drawn_ = false;
  std::array<int, 6> drawnAt_{};
  std::array<uint8_t, 64 * 3> table_{};
};

}  // namespace

namespace platform {

std::unique_ptr<TPageScreen> OpenPageScreen(int width, int height) {
  if (!OpenWebGlScreen(width, height)) return nullptr;
  return std::make_unique<TWebGlScreen>(width, height);
}

}  // namespace platform
