// The web page's figures, in headless Chromium on this machine: Do All from
// the sample's frames against native `velkor-cli do-all`, the sample model's
// 72 static frames rendered, its three preview frames (the render dialog's,
// redrawn on every change of the axes), and the gzip-compressed size of what the page
// downloads. Medians of RUNS runs (default 7). Needs the release tree
// (scripts/build.sh) and the page (scripts/web.sh --build-only):
//   node bench/web_bench.mjs [RUNS]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { chromium } from '../web/node_modules/playwright-core/index.mjs';
import { serve } from '../web/tools/serve.mjs';

const top = path.resolve(import.meta.dirname, '..');
const pageDir = path.join(top, 'build-web', 'page');
const sample = path.join(top, 'build', 'sample');
const runs = Number(process.argv[2] ?? 7);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// What a visit that builds from a glTF model downloads: the page, the engine,
// three and its glTF loader (the other loaders load only when used).
const firstVisit = ['index.html', 'style.css', 'app.js', 'draw.js', 'viewer.js', 'worker.js', 'model/load.js',
                    'model/flatten.js',
                    'velkor-engine.js', 'velkor-engine.wasm', 'vendor/three/build/three.module.js',
                    'vendor/three/build/three.core.js', 'vendor/three/examples/jsm/loaders/GLTFLoader.js',
                    'vendor/three/examples/jsm/utils/BufferGeometryUtils.js'];
let total = 0;
for (const file of firstVisit) {
  const bytes = fs.readFileSync(path.join(pageDir, file));
  const gz = zlib.gzipSync(bytes, { level: 9 }).length;
  total += gz;
  if (/velkor-engine|three\.core/.test(file)) console.log(`${file}: ${bytes.length} bytes, ${gz} gzip`);
}
console.log(`page, engine, three and the glTF loader: ${total} bytes gzip-compressed`);

// Native Do All, wall time of the whole process.
const native = [];
for (let i = 0; i < runs; ++i) {
  const start = process.hrtime.bigint();
  execFileSync(path.join(top, 'build', 'velkor-cli'),
               ['do-all', '--rotation-3d', path.join(sample, 'Rotation'), '--keying', 'clean', '/tmp/velkor-bench.srf'],
               { stdio: 'ignore' });
  native.push(Number(process.hrtime.bigint() - start) / 1e6);
}

const server = await serve(pageDir);
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const page = await browser.newPage();
await page.goto(`http://127.0.0.1:${server.address().port}/`);
await page.setInputFiles('#frames-rotation', path.join(sample, 'Rotation'));
await page.waitForFunction(() => !document.body.classList.contains('busy') && !document.querySelector('#do-all').disabled);
await page.setInputFiles('#model-file', path.join(sample, 'car.glb'));
await page.waitForFunction(() => !document.body.classList.contains('busy') && !document.querySelector('#render-build').disabled);

// The worker's calls alone, timed from the page (files already in the worker).
const web = await page.evaluate(async (runs) => {
  const time = async (op, args) => {
    const start = performance.now();
    const result = await window.velkor.call(op, args);
    if (!result.ok) throw new Error(result.message);
    return performance.now() - start;
  };
  const settings = { rendered: false, animated: false, version: '2.20', keying: 'clean', keyColor: 65280, tolerance: 0, stepSample: false,
                     steps: 1, folders: ['frames/rotation/Rotation', 'frames/rotation/Rotation/Top', '', ''],
                     prefixes: ['car', 'car', '', ''], numbers: '0000-0035' };
  const render = { model: 'car.glb', folder: 'model', animated: false, version: '2.20', up: '+y', front: '+z',
                   elevation: 30, fill: 0.9, keyRgb: 0x00ff00 };
  const doAll = [], frames = [], preview = [];
  for (let i = 0; i < runs; ++i) {
    doAll.push(await time('doAll', settings));
    frames.push(await time('renderFrames', render));
    preview.push(await time('preview', render));
  }
  return { doAll, frames, preview };
}, runs);
await browser.close();
server.close();

const ms = (v) => `${v.toFixed(0)} ms`;
console.log(`Do All from the sample's frames: native velkor-cli ${ms(median(native))}, ` +
            `in Chromium ${ms(median(web.doAll))} (${(median(web.doAll) / median(native)).toFixed(2)}x)`);
console.log(`the sample model's 72 frames rendered in Chromium: ${ms(median(web.frames))}`);
console.log(`its three preview frames in Chromium: ${ms(median(web.preview))}`);
