// A static file server for the browser build, on 127.0.0.1 only: node web/serve.js DIR [PORT].
// PORT 0 (the default) takes any free port. Prints "serving http://127.0.0.1:PORT/" once ready.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const root = path.resolve(process.argv[2] || '.');
const port = Number(process.argv[3] || 0);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png', '.css': 'text/css; charset=utf-8',
};

const server = http.createServer((request, response) => {
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  } catch {
    response.writeHead(400).end('bad request');
    return;
  }
  if (name.endsWith('/'))
    name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep)) {
    response.writeHead(403).end('outside the folder');
    return;
  }
  fs.readFile(file, (error, body) => {
    if (error) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-cache',
    });
    response.end(body);
  });
});

server.on('error', error => {
  console.error(error.code === 'EADDRINUSE' ? `port ${port} is taken: pick another (--port N)` : String(error));
  process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
  console.log(`serving http://127.0.0.1:${server.address().port}/`);
});
