// The page: reads the controls, hands the work to the worker (worker.js) and
// shows what comes back. Every failure is shown in the message line and
// leaves the page as it was.
import { drawMap, drawRgb } from './draw.js';
import { hideViewer, showViewer } from './viewer.js';

const $ = (id) => document.getElementById(id);

// ---- the worker ----

const worker = new Worker('worker.js', { type: 'module' });
const pending = new Map();
let nextId = 1;

worker.onmessage = ({ data }) => {
  const job = pending.get(data.id);
  if (!job) return;
  if (data.progress) return job.onProgress?.(...data.progress);
  pending.delete(data.id);
  job.resolve(data.result);
};

function call(op, args, onProgress) {
  return new Promise((resolve) => {
    const id = nextId++;
    pending.set(id, { resolve, onProgress });
    worker.postMessage({ id, op, args });
  });
}

// One job at a time: the buttons wait while one runs.
let busy = false;
async function job(status, work) {
  if (busy) return;
  busy = true;
  document.body.classList.add('busy');
  setMessage('');
  setStatus(status);
  try {
    await work();
  } catch (e) {
    setMessage(String(e?.message ?? e));
  } finally {
    busy = false;
    document.body.classList.remove('busy');
    $('progress').hidden = true;
    refreshButtons();
  }
}

function setStatus(text) {
  $('status').textContent = text;
}

function setMessage(text) {
  $('message').textContent = text;
  $('message').hidden = !text;
  if (text) setStatus('Stopped.');
}

function showProgress(done, total) {
  $('progress').hidden = false;
  $('progress').max = total;
  $('progress').value = done;
}

// A result that is not ok stops the job with its message.
function check(result) {
  if (!result.ok) throw new Error(result.message);
  return result;
}

// ---- options ----

const AXES = ['+x', '-x', '+y', '-y', '+z', '-z'];
const NUMBERS = ['0000-0035', '1-36', '01-36', '001-036', '0001-0036', '0-35', '00-35', '000-035', '0-360 (10s)',
                 '000-360 (10s)'];
const SWATCHES = ['#00ff00', '#0000ff', '#ff00ff', '#00ffff', '#ffff00'];

function fill(select, values, chosen) {
  select.replaceChildren(...values.map((v) => new Option(v, v, false, v === chosen)));
}

function keyRgb() {
  return parseInt($('key').value.slice(1), 16);
}

// The window keeps colours as 0x00BBGGRR.
function keyColorRef() {
  const rgb = keyRgb();
  return ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
}

function animated() {
  return $('mode').value === 'animated';
}

function options() {
  return {
    animated: animated(),
    version: animated() ? '1.00' : $('version').value,
    keying: $('keying').value,
    keyColor: keyColorRef(),
    tolerance: Number($('tolerance').value),
    stepSample: $('step-sample').checked,
    steps: Number($('steps').value),
  };
}

function refreshOptions() {
  document.body.classList.toggle('animated', animated());
  $('version').disabled = animated();
  // Clean edges has no tolerance.
  $('tolerance').disabled = $('keying').value === 'clean';
  $('tolerance-value').textContent = $('tolerance').value;
  refreshButtons();
}

// ---- 3D model ----

let modelName = '', modelStatus = '';

// What a render of the model takes, checked by the engine as the window's
// render dialog and velkor-cli check it.
function renderOptions() {
  const o = options();
  return { model: modelName, folder: 'model', up: $('up-axis').value, front: $('front-axis').value,
           elevation: Number($('elevation').value), fill: Number($('fill').value), keyRgb: keyRgb(),
           animated: o.animated, version: o.version };
}

function showAxes(axes) {
  $('up-axis').value = axes.up;
  $('front-axis').value = axes.front;
  $('axes').textContent = `axes: ${axes.axes}`;
}

// One of the render dialog's axis changes ("up", "front", "turn", "flip"),
// as the engine makes it, then the preview.
async function changeAxes(change) {
  if (!modelName) return;
  const axes = await call('axes', { change, up: $('up-axis').value, front: $('front-axis').value });
  if (!axes.ok) return setMessage(axes.message);
  showAxes(axes);
  await preview();
}

let previewQueued = false;
async function preview() {
  if (!modelName || previewQueued) return;
  previewQueued = true;
  await new Promise((r) => setTimeout(r, 0));
  previewQueued = false;
  const result = await call('preview', renderOptions());
  if (!result.ok) return setMessage(result.message);
  if (!$('message').hidden) {  // the options are right again
    setMessage('');
    setStatus(modelStatus);
  }
  result.frames.forEach((frame, i) => {
    drawRgb($(`preview-${i}`), frame.rgb, frame.size);
    $(`preview-${i}-caption`).textContent = frame.caption;
  });
}

// The model's scene bytes are made in the worker, or here for the formats
// only this thread can read.
async function modelScene(files) {
  const { LOADERS, extensionOf, flattenModel, readOnPage } = await import('./model/load.js');
  const model = files.find((f) => LOADERS[extensionOf(f.name)]);
  if (!model || !readOnPage(model.name)) return { files };
  try {
    return { scene: await flattenModel(model, files.filter((f) => f !== model)), name: model.name };
  } catch (e) {
    throw new Error(`Cannot read ${model.name}: ${e?.message ?? e}`);
  }
}

function loadModel(files) {
  return job('Reading the model...', async () => {
    modelName = '';
    const result = check(await call('loadModel', await modelScene(files)));
    modelName = result.name;
    document.body.dataset.sceneDigest = result.sceneDigest;
    showAxes(result);
    modelStatus = `${modelName}: ${result.triangles} triangles. Check the axes in the previews, then "Render and build".`;
    setStatus(modelStatus);
    await preview();
  });
}

function renderAndBuild() {
  return job('Rendering the frame sets...', async () => {
    const o = options();
    check(await call('renderFrames', renderOptions(), showProgress));
    // The frames stay in the engine's memory for the Do All that follows.
    await build({ ...o, rendered: true, folders: ['', '', '', ''], prefixes: ['', '', '', ''], numbers: '0000-0035' },
                modelName.replace(/\.[^.]*$/, ''));
  });
}

// ---- frame folders ----

// Set name -> {folder, prefix, scheme} as guessed from the files, and what
// was found of each kind of set (rotation, animation).
const frameSets = {};
const foundSets = {};

// Files with their paths below the chosen folder; only BMP files are kept.
function bmpFiles(files, base) {
  return files.filter((f) => /\.bmp$/i.test(f.path)).map(({ path, file }) => ({ path: `${base}/${path}`, file }));
}

async function takeFolder(kind, files) {
  return job('Reading the frames...', async () => {
    const base = `frames/${kind}`;
    check(await call('clear', { path: base }));
    const bmps = bmpFiles(files, base);
    if (!bmps.length) throw new Error('The folder holds no BMP files.');
    check(await call('putFiles', { files: bmps }));
    const root = `${base}/${files[0].path.split('/')[0]}`;
    const lines = [];
    for (const [name, folder] of [[`${kind} 3D`, root], [`${kind} 2D`, `${root}/Top`]]) {
      const guess = check(await call('guessFrames', { folder, schemes: NUMBERS }));
      frameSets[name] = { folder, prefix: guess.prefix, scheme: guess.scheme };
      lines.push(`${name}: ${guess.found} of 36 frames, prefix "${guess.prefix}", numbered ${guess.scheme}` +
                 (guess.missing.length ? `; missing: ${guess.missing.map((m) => m.split('/').pop()).join(', ')}` : ''));
      if (name === 'rotation 3D') {
        $('numbers').value = guess.scheme;
        if (guess.found) showFrame(guess.first);
      }
    }
    foundSets[kind] = lines.join('\n');
    $('framesets').textContent = Object.values(foundSets).join('\n');
    setStatus('Frames read. Press "Do All".');
  });
}

async function showFrame(path) {
  const frame = await call('frameImage', { path });
  if (frame.ok) drawRgb($('frame0'), frame.rgb, frame.width, frame.height);
}

function pickKey(event) {
  const canvas = event.currentTarget;
  const x = Math.floor(event.offsetX * canvas.width / canvas.clientWidth);
  const y = Math.floor(event.offsetY * canvas.height / canvas.clientHeight);
  const [r, g, b] = canvas.getContext('2d').getImageData(x, y, 1, 1).data;
  $('key').value = '#' + [r, g, b].map((c) => c.toString(16).padStart(2, '0')).join('');
}

function doAllFromFrames() {
  return job('Building the icon...', async () => {
    const o = options();
    const sets = ['rotation 3D', 'rotation 2D', 'animation 3D', 'animation 2D'].map((n) => frameSets[n] ?? {});
    if (o.animated && !sets[2].folder) throw new Error('Pick the folder of the animation frames too.');
    await build({ ...o, rendered: false, folders: sets.map((s) => s.folder ?? ''), prefixes: sets.map((s) => s.prefix ?? ''),
                  numbers: $('numbers').value }, 'icon');
  });
}

// ---- the result ----

async function build(settings, name) {
  setStatus('Building the icon...');
  const result = check(await call('doAll', settings, showProgress));
  await showResult(result, name);
  setStatus(`Done: ${settings.animated ? 'animated SRF' : `SRF version ${settings.version}`}, ` +
            `${result.width} x ${result.height} pixels, ${result.srf.length} bytes.`);
}

function download(link, bytes, name, type) {
  if (link.href) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  link.hidden = false;
}

let lastSrf = null;

async function showResult(result, name) {
  $('result').hidden = false;
  lastSrf = { bytes: result.srf, name: `${name}.srf` };
  download($('download-srf'), result.srf, `${name}.srf`, 'application/octet-stream');
  download($('download-png'), result.png, `${name}.png`, 'image/png');
  const gif = check(await call('gif', { file: new File([result.srf], `${name}.srf`) }));
  download($('download-gif'), gif.gif, `${name}.gif`, 'image/gif');
  const picture = await createImageBitmap(new Blob([result.png], { type: 'image/png' }));
  const strip = $('strip');
  strip.width = result.width;
  strip.height = result.height;
  drawMap(strip);
  strip.getContext('2d').drawImage(picture, 0, 0);
  await view(new File([result.srf], `${name}.srf`), 'screen');
}

// The SRF viewer's drawing of the file on the canvas `id`; a file the viewer
// cannot show (an animated one) gets the viewer's message instead.
async function view(file, id) {
  const viewer = await call('viewer', { file });
  const note = $(`${id}-note`);
  note.hidden = false;
  note.textContent = viewer.ok ? 'On the device screen (click it, then ← → step, ↑ ↓ faster or slower, Esc stops)'
                               : viewer.message;
  if (!viewer.ok) return hideViewer($(id));
  $(id).hidden = false;
  showViewer($(id), viewer);
}

// The Garmin folder of the device folder the user picked (the device's own,
// or its Garmin folder), as the desktop knows a device: by its
// Garmin/GarminDevice.xml. None when it is not a device.
async function garminFolder(picked) {
  const holdsXml = (folder) => folder.getFileHandle('GarminDevice.xml').then(() => true, () => false);
  const garmin = await picked.getDirectoryHandle('Garmin').catch(() => null);
  if (garmin && await holdsXml(garmin)) return garmin;
  return picked.name === 'Garmin' && await holdsXml(picked) ? picked : null;
}

// "Send to device": the SRF into Garmin/Vehicle of the device folder the user
// picks, with the desktop's checks and words. Where the browser cannot write
// to a folder, it says so and points at the download.
async function sendToDevice() {
  if (!lastSrf) return;
  if (!window.showDirectoryPicker) {
    $('send-note').hidden = false;
    $('send-note').textContent = 'This browser cannot write to a device\'s folder. Download the SRF and copy it ' +
                                 'into Garmin/Vehicle on the device.';
    return;
  }
  return job('Sending to the device...', async () => {
    const { name, bytes } = lastSrf;
    // As on the desktop, a file that does not read back whole never reaches the device.
    check(await call('sendProblem', { file: new File([bytes], name) }));
    let picked;
    try {
      picked = await window.showDirectoryPicker({ id: 'device', mode: 'readwrite' });
    } catch {
      return setStatus('Not sent.');
    }
    const garmin = await garminFolder(picked);
    if (!garmin) throw new Error(`${picked.name} is not a Garmin device: it holds no Garmin/GarminDevice.xml.`);
    const vehicle = await garmin.getDirectoryHandle('Vehicle', { create: true });
    const target = [garmin === picked ? '' : picked.name, 'Garmin', 'Vehicle', name].filter(Boolean).join('/');
    const existing = await vehicle.getFileHandle(name).then((h) => h.getFile()).catch(() => null);
    if (existing) {
      const there = new Uint8Array(await existing.arrayBuffer());
      if (there.length === bytes.length && there.every((b, i) => b === bytes[i])) {
        return setStatus(`${target} is already on the device.`);
      }
      if (!confirm(`A different ${target} is already on the device.\n\nReplace it with ${name}?`)) {
        return setStatus('Kept the file on the device.');
      }
    }
    // The browser writes beside the file and puts it in place on close.
    const writable = await (await vehicle.getFileHandle(name, { create: true })).createWritable();
    await writable.write(bytes);
    await writable.close();
    setStatus(`Sent to ${target}`);
  });
}

// ---- conversions ----

function convert(file) {
  return job(`Reading ${file.name}...`, async () => {
    $('info').hidden = true;
    hideViewer($('convert-screen'));
    $('convert-screen-note').hidden = true;
    $('convert-download').hidden = true;
    $('convert-gif').hidden = true;
    const base = file.name.replace(/\.[^.]*$/, '');
    if (/\.png$/i.test(file.name)) {
      const result = check(await call('pngToSrf', { file, animated: $('convert-animated').checked }));
      download($('convert-download'), result.srf, `${base}.srf`, 'application/octet-stream');
      $('convert-download').textContent = `Download ${base}.srf`;
      await showInfo(new File([result.srf], `${base}.srf`));
      const animatedSrf = $('convert-animated').checked;
      return setStatus(`${file.name} converted to ${animatedSrf ? 'an animated SRF' : `SRF version ${result.version}`}.`);
    }
    const info = await showInfo(file);
    $('convert-animated').checked = info.facts.some(([k, v]) => k === 'header.image-count' && v === '4');
    const result = check(await call('srfToPng', { file, animated: $('convert-animated').checked }));
    download($('convert-download'), result.png, `${base}.png`, 'image/png');
    $('convert-download').textContent = `Download ${base}.png`;
    const gif = check(await call('gif', { file }));
    download($('convert-gif'), gif.gif, `${base}.gif`, 'image/gif');
    setStatus(`${file.name} converted to PNG (${result.width} x ${result.height}).`);
  });
}

async function showInfo(file) {
  const info = check(await call('describe', { file }));
  const rows = [['verdict', info.verdict], ...info.facts].map(([k, v]) => {
    const row = document.createElement('tr');
    row.append(...[k, v].map((text) => Object.assign(document.createElement('td'), { textContent: text })));
    return row;
  });
  $('info').replaceChildren(...rows);
  $('info').hidden = false;
  if (!info.readable) throw new Error(`${file.name}: ${info.verdict}`);
  await view(file, 'convert-screen');
  return info;
}

// ---- files from inputs and drops ----

// Files with their paths below the picked folder ("Rotation/Top/car0000.bmp").
function fromInput(input) {
  return [...input.files].map((file) => ({ path: file.webkitRelativePath || file.name, file }));
}

async function fromDrop(event) {
  const entries = [...event.dataTransfer.items].map((i) => i.webkitGetAsEntry?.()).filter(Boolean);
  const files = [];
  const walk = async (entry, path) => {
    if (entry.isFile) {
      files.push({ path: path + entry.name, file: await new Promise((ok, fail) => entry.file(ok, fail)) });
    } else if (entry.isDirectory) {
      const reader = entry.createReader();
      for (let batch; (batch = await new Promise((ok, fail) => reader.readEntries(ok, fail))).length;) {
        for (const child of batch) await walk(child, `${path}${entry.name}/`);
      }
    }
  };
  for (const entry of entries) await walk(entry, '');
  return files;
}

function dropZone(zone, take) {
  zone.addEventListener('dragover', (e) => { e.preventDefault(); zone.classList.add('over'); });
  zone.addEventListener('dragleave', () => zone.classList.remove('over'));
  zone.addEventListener('drop', async (e) => {
    e.preventDefault();
    zone.classList.remove('over');
    take(await fromDrop(e));
  });
}

function refreshButtons() {
  $('render-build').disabled = busy || !modelName;
  $('do-all').disabled = busy || !frameSets['rotation 3D'];
  $('send').disabled = busy || !lastSrf;
}

// ---- start ----

fill($('up-axis'), AXES, '+y');
fill($('front-axis'), AXES, '+z');
fill($('numbers'), NUMBERS, '0000-0035');
$('swatches').replaceChildren(...SWATCHES.map((colour) => {
  const b = document.createElement('button');
  b.type = 'button';
  b.title = colour;
  b.style.background = colour;
  b.onclick = () => { $('key').value = colour; preview(); };
  return b;
}));
for (const id of ['mode', 'version', 'keying', 'tolerance']) $(id).addEventListener('input', refreshOptions);
$('key').addEventListener('input', preview);
$('up-axis').addEventListener('change', () => changeAxes('up'));
$('front-axis').addEventListener('change', () => changeAxes('front'));
for (const id of ['elevation', 'fill']) $(id).addEventListener('input', preview);
$('turn-front').onclick = () => changeAxes('turn');
$('flip-up').onclick = () => changeAxes('flip');
$('model-file').onchange = () => loadModel([...$('model-file').files]);
dropZone($('model-drop'), (files) => loadModel(files.map((f) => f.file)));
$('render-build').onclick = renderAndBuild;
$('frames-rotation').onchange = () => takeFolder('rotation', fromInput($('frames-rotation')));
$('frames-animation').onchange = () => takeFolder('animation', fromInput($('frames-animation')));
dropZone($('frames-drop'), (files) => takeFolder('rotation', files));
$('frame0').onclick = pickKey;
$('do-all').onclick = doAllFromFrames;
$('send').onclick = sendToDevice;
$('convert-file').onchange = () => $('convert-file').files[0] && convert($('convert-file').files[0]);
dropZone($('convert-drop'), (files) => files[0] && convert(files[0].file));
refreshOptions();
window.velkor = { call };  // for the browser tests and the benchmark
