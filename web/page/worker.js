// The page's worker: the engine (WebAssembly) and three.js's model loaders run
// here (COLLADA's on the page: see model/load.js), so that the page stays
// responsive. Files the page hands over are put in the engine's in-memory
// file system; nothing leaves the browser.
//
// Messages in: {id, op, args}. Out: {id, progress: [done, total]} while a job
// runs, then {id, result}; a result always has ok and message.
import createEngine from './velkor-engine.js';
import { LOADERS, extensionOf, flattenModel } from './model/load.js';

const enginePromise = createEngine();

const ROOT = '/files';

function post(message) {
  self.postMessage(message);
}

// Files are kept under ROOT by the path the page gives them.
async function putFiles(engine, files) {
  for (const { path, file } of files) {
    const full = `${ROOT}/${path}`;
    engine.FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
    engine.FS.writeFile(full, new Uint8Array(await file.arrayBuffer()));
  }
  return { ok: true, message: '' };
}

// A file of the user's on its own in `folder`, under its own name, and the
// engine's call on it, whose message then names it as the user knows it.
async function onFile(engine, folder, file, call) {
  removeTree(engine, `${ROOT}/${folder}`);
  await putFiles(engine, [{ path: `${folder}/${file.name}`, file }]);
  const result = call(`${ROOT}/${folder}/${file.name}`);
  return { ...result, message: result.message.replaceAll(`${ROOT}/${folder}/`, '') };
}

function removeTree(engine, path) {
  const { FS } = engine;
  if (!FS.analyzePath(path).exists) return;
  if (!FS.isDir(FS.stat(path).mode)) return FS.unlink(path);
  for (const name of FS.readdir(path)) if (name !== '.' && name !== '..') removeTree(engine, `${path}/${name}`);
  FS.rmdir(path);
}

// A glTF image's own bytes decoded by the engine (never by the browser,
// which premultiplies and colour-converts); null leaves it untextured.
async function decodeGltfImage(engine, parser, index) {
  const image = parser.json.images?.[index];
  if (image?.bufferView === undefined) return null;
  const bytes = new Uint8Array(await parser.getDependency('bufferView', image.bufferView));
  const path = `${ROOT}/texture`;
  engine.FS.writeFile(path, bytes);
  const decoded = engine.decodeTexture(path);
  if (!decoded.ok) throw new Error(decoded.message);
  return { width: decoded.width, height: decoded.height, rgba: decoded.rgba };
}

const ops = {
  putFiles: (engine, { files }) => putFiles(engine, files),
  clear: (engine, { path }) => { removeTree(engine, `${ROOT}/${path}`); return { ok: true, message: '' }; },
  guessFrames: (engine, { folder, schemes }) => {
    const path = `${ROOT}/${folder}`;
    const prefix = engine.guessPrefix(path);
    let best = null;
    for (const scheme of schemes) {
      const count = engine.countFrames(path, prefix, scheme);
      if (!best || count.found > best.found) best = { ...count, scheme };
    }
    return { ok: true, message: '', prefix, scheme: best.scheme, found: best.found, missing: best.missing, first: best.first };
  },
  frameImage: (engine, { path }) => engine.frameImage(path),
  doAll: (engine, settings, progress) => {
    const at = (folder) => (folder ? `${ROOT}/${folder}` : '');
    return engine.doAll({ ...settings, folders: settings.folders.map(at) }, progress);
  },
  srfToPng: (engine, { file, animated }) => onFile(engine, 'convert', file, (path) => engine.srfToPng(path, animated)),
  pngToSrf: (engine, { file, animated }) => onFile(engine, 'convert', file, (path) => engine.pngToSrf(path, animated)),
  gif: (engine, { file }) => onFile(engine, 'gif', file, (path) => engine.gif(path)),
  sendProblem: (engine, { file }) => onFile(engine, 'send', file, (path) => engine.sendProblem(path)),
  viewer: (engine, { file }) => onFile(engine, 'viewer', file, (path) => engine.viewer(path)),
  describe: async (engine, { file }) => {
    const info = await onFile(engine, 'info', file, (path) => engine.describeSrf(path));
    if (info.ok) info.facts = info.facts.map(([key, value]) => [key, key === 'file' ? file.name : value]);
    return info;
  },
  // The model among the files flattened here, or the scene bytes the page
  // flattened itself (`scene`, of the model named `name`).
  loadModel: async (engine, { files, scene, name }) => {
    const model = scene ? { name } : files.find((f) => LOADERS[extensionOf(f.name)]);
    if (!model) return { ok: false, message: 'None of the dropped files is a model this page reads.' };
    let bytes = scene;
    try {
      bytes ??= await flattenModel(model, files.filter((f) => f !== model),
                                   (parser, image) => decodeGltfImage(engine, parser, image));
    } catch (e) {
      return { ok: false, message: `Cannot read ${model.name}: ${e?.message ?? e}` };
    }
    const loaded = engine.loadScene(bytes);
    if (!loaded.ok) return { ok: false, message: `Cannot read ${model.name}: ${loaded.message}` };
    // The scene's digest lets a test compare it with the desktop loader's.
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
    return { ...loaded, name: model.name, sceneDigest: [...digest].map((b) => b.toString(16).padStart(2, '0')).join('') };
  },
  axes: (engine, { change, up, front }) => engine.axes(change, up, front),
  preview: (engine, options) => engine.preview({ ...options, folder: `${ROOT}/${options.folder}` }),
  renderFrames: (engine, options, progress) => engine.renderFrames({ ...options, folder: `${ROOT}/${options.folder}` }, progress),
};

self.onmessage = async ({ data: { id, op, args } }) => {
  let result;
  try {
    const engine = await enginePromise;
    const progress = (done, total) => post({ id, progress: [done, total] });
    result = await ops[op](engine, args, progress);
  } catch (e) {
    result = { ok: false, message: String(e?.message ?? e) };
  }
  post({ id, result });
};
