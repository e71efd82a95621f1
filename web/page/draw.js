// Drawing for the page's eyes only: frames, previews and the turning icon on
// canvases. Files are never decoded or encoded here (the engine does that).

// R, G, B (or R, G, B, A) bytes, rows top-down, onto the canvas at its size.
export function drawRgb(canvas, bytes, width, height = width, channels = 3) {
  canvas.width = width;
  canvas.height = height;
  const image = new ImageData(width, height);
  for (let i = 0, o = 0; o < image.data.length; i += channels, o += 4) {
    image.data[o] = bytes[i];
    image.data[o + 1] = bytes[i + 1];
    image.data[o + 2] = bytes[i + 2];
    image.data[o + 3] = 255;
  }
  canvas.getContext('2d').putImageData(image, 0, 0);
}

// A plain map: pale land, two roads crossing.
export function drawMap(canvas) {
  const g = canvas.getContext('2d');
  g.fillStyle = '#e4ead8';
  g.fillRect(0, 0, canvas.width, canvas.height);
  g.strokeStyle = '#ffffff';
  g.lineWidth = Math.max(4, canvas.height / 6);
  g.beginPath();
  g.moveTo(0, canvas.height * 0.62);
  g.lineTo(canvas.width, canvas.height * 0.38);
  g.moveTo(canvas.width * 0.4, 0);
  g.lineTo(canvas.width * 0.55, canvas.height);
  g.stroke();
}

// One heading (R, G, B, A premultiplied, as SRF files store it) over the map,
// at twice its size and centred.
export function drawHeading(canvas, rgba, width, height) {
  const image = new ImageData(width, height);
  for (let i = 0; i < rgba.length; i += 4) {
    const a = rgba[i + 3];
    for (let c = 0; c < 3; ++c) image.data[i + c] = a ? Math.min(255, Math.round((rgba[i + c] * 255) / a)) : 0;
    image.data[i + 3] = a;
  }
  const sprite = new OffscreenCanvas(width, height);
  sprite.getContext('2d').putImageData(image, 0, 0);
  drawMap(canvas);
  const g = canvas.getContext('2d');
  g.imageSmoothingEnabled = false;
  g.drawImage(sprite, (canvas.width - 2 * width) / 2, (canvas.height - 2 * height) / 2, 2 * width, 2 * height);
}
