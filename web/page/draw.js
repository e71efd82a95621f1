// Drawing for the page's eyes only: frames, previews and the map under the
// icon's pictures on canvases. Files are never decoded or encoded here (the
// engine does that).

// R, G, B bytes, rows top-down, as opaque canvas pixels.
export function rgbImageData(bytes, width, height) {
  const image = new ImageData(width, height);
  for (let i = 0, o = 0; o < image.data.length; i += 3, o += 4) {
    image.data[o] = bytes[i];
    image.data[o + 1] = bytes[i + 1];
    image.data[o + 2] = bytes[i + 2];
    image.data[o + 3] = 255;
  }
  return image;
}

// R, G, B bytes, rows top-down, onto the canvas at its size.
export function drawRgb(canvas, bytes, width, height = width) {
  canvas.width = width;
  canvas.height = height;
  canvas.getContext('2d').putImageData(rgbImageData(bytes, width, height), 0, 0);
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
