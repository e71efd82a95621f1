// Copies the parts of three.js the page imports into the built page: three
// itself and the model loaders with every file they import in turn. Their
// imports of 'three' become relative paths, as a worker has no import map.
//   node vendor.mjs THREE_PACKAGE_DIR OUT_DIR
import fs from 'node:fs';
import path from 'node:path';

const [packageDir, outDir] = process.argv.slice(2);
const loaders = ['GLTFLoader', 'OBJLoader', 'FBXLoader', 'ColladaLoader', 'TDSLoader', 'PLYLoader', 'STLLoader']
  .map((name) => `examples/jsm/loaders/${name}.js`);
const pending = ['build/three.module.js', ...loaders];
const done = new Set();

while (pending.length) {
  const file = pending.pop();
  if (done.has(file)) continue;
  done.add(file);
  let text = fs.readFileSync(path.join(packageDir, file), 'utf8');
  const toThree = path.posix.relative(path.posix.dirname(file), 'build/three.module.js');
  text = text.replace(/from\s+'three'/g, `from '${toThree.startsWith('.') ? toThree : './' + toThree}'`);
  for (const match of text.matchAll(/(?:from|import)\s+'(\.{1,2}\/[^']+)'/g)) {
    pending.push(path.posix.normalize(path.posix.join(path.posix.dirname(file), match[1])));
  }
  fs.mkdirSync(path.join(outDir, path.dirname(file)), { recursive: true });
  fs.writeFileSync(path.join(outDir, file), text);
}
