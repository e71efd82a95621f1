// Serves a built page folder on 127.0.0.1 and prints its address. Only files
// inside the folder are served; every request is logged when asked.
//   node serve.mjs FOLDER [PORT]      (PORT 0 or none: any free port)
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
                '.css': 'text/css', '.wasm': 'application/wasm', '.png': 'image/png', '.json': 'application/json' };

export function serve(folder, port = 0, log = null) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    log?.push(request.url);
    const url = new URL(request.url, 'http://localhost');
    const file = path.join(root, decodeURIComponent(url.pathname === '/' ? '/index.html' : url.pathname));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end('not found');
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const server = await serve(process.argv[2], Number(process.argv[3] ?? 0));
  console.log(`Velkor's page: http://127.0.0.1:${server.address().port}/`);
}
