// A dropped model file (and the files it refers to, dropped with it) read by
// three.js's loader for its format and flattened into the engine's scene
// bytes. The worker reads every format but COLLADA, which is XML: only the
// page's own thread has the browser's XML parser.
import * as three from '../vendor/three/build/three.module.js';
import { NO_AXIS, POS_Y, flattenGltf, flattenObject } from './flatten.js';

export const LOADERS = {
  glb: 'GLTFLoader', gltf: 'GLTFLoader', obj: 'OBJLoader', fbx: 'FBXLoader', dae: 'ColladaLoader',
  '3ds': 'TDSLoader', ply: 'PLYLoader', stl: 'STLLoader',
};

export function extensionOf(name) {
  return name.slice(name.lastIndexOf('.') + 1).toLowerCase();
}

export const readOnPage = (name) => LOADERS[extensionOf(name)] === 'ColladaLoader';

// three turns a COLLADA model that is Z-up to +Y up, as the desktop's loader
// does; one that is X-up it leaves as it is, so that one declares nothing.
async function colladaScene(loader, text) {
  const { ColladaParser } = await import('../vendor/three/examples/jsm/loaders/collada/ColladaParser.js');
  const xUp = new ColladaParser().parse(text)?.asset.upAxis === 'X_UP';
  return flattenObject(loader.parse(text, '').scene, three, xUp ? NO_AXIS : POS_Y);
}

// Referenced files are looked up by name among the dropped ones; a glTF's
// embedded images go to `gltfImage(parser, imageIndex)`, which gives their
// RGBA (or null: untextured).
export async function flattenModel(model, others, gltfImage) {
  const kind = LOADERS[extensionOf(model.name)];
  if (!kind) throw new Error(`${model.name} is not a model this page reads (glTF, GLB, OBJ, FBX, DAE, 3DS, PLY, STL)`);
  const urls = new Map(others.map((f) => [f.name, URL.createObjectURL(f)]));
  const manager = new three.LoadingManager();
  manager.setURLModifier((url) => urls.get(decodeURIComponent(url.split('/').pop())) ?? 'data:,');
  try {
    const { [kind]: Loader } = await import(`../vendor/three/examples/jsm/loaders/${kind}.js`);
    const loader = new Loader(manager);
    const bytes = await model.arrayBuffer();
    const text = () => new TextDecoder().decode(bytes);
    switch (kind) {
      case 'GLTFLoader': {
        const gltf = await loader.parseAsync(bytes, '');
        return flattenGltf(gltf, (image) => gltfImage(gltf.parser, image), three);
      }
      case 'OBJLoader': return flattenObject(loader.parse(text()), three);
      case 'ColladaLoader': return colladaScene(loader, text());
      case 'PLYLoader':
      case 'STLLoader': return flattenObject(new three.Mesh(loader.parse(bytes)), three);
      default: return flattenObject(loader.parse(bytes, ''), three);
    }
  } finally {
    for (const url of urls.values()) URL.revokeObjectURL(url);
  }
}
