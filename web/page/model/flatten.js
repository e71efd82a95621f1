// A model read by three.js's loaders, flattened into the engine's scene
// bytes (render/SceneCodec.h): every node transform applied, triangles only,
// one material per triangle, textures as RGBA rows top-down, then the up
// axis the file declares where the loader gives it. The engine validates the
// bytes as it validates the desktop's loader helper's.
//
// For glTF the flattening is the desktop loader's (Assimp with
// pre-transformed vertices): one mesh per primitive holding all of its
// accessors' vertices, meshes ordered by material, V flipped, the file's
// materials in order and a white single-sided default material after them.
// An untransformed node gives the desktop's bytes exactly; transforms are
// computed in 32-bit floats as the desktop does, normals made where a file
// has none are three's (area-weighted), not Assimp's.

const HEADER_BYTES = 24, VERTEX_BYTES = 48, TRIANGLE_BYTES = 16, MATERIAL_BYTES = 36, AXES_BYTES = 8;

// The scene format's axis numbers (+x, -x, +y, -y, +z, -z), and none.
export const POS_Y = 2, NO_AXIS = 0xffffffff;

const f32 = Math.fround;

function finiteOr(values, fallback) {
  return values.every(Number.isFinite) ? values : fallback;
}

// One vertex as the desktop's loader keeps it: non-finite normals, colours
// and uvs fall back to neutral values; positions are the engine's to refuse.
function vertexOf(geometry, i, matrix, normalMatrix, flipV) {
  const { position, normal, color, uv } = geometry.attributes;
  let p = [position.getX(i), position.getY(i), position.getZ(i)];
  let n = normal ? [normal.getX(i), normal.getY(i), normal.getZ(i)] : [0, 1, 0];
  if (matrix) {
    p = transformPoint(matrix, p);
    if (normal) n = transformNormal(normalMatrix, n);
  }
  let c = [1, 1, 1, 1];
  if (color) c = [color.getX(i), color.getY(i), color.getZ(i), color.itemSize === 4 ? color.getW(i) : 1];
  let t = [0, 0];
  if (uv) t = [uv.getX(i), flipV ? f32(1 - f32(uv.getY(i))) : uv.getY(i)];
  return [...p, ...finiteOr(n, [0, 0, 0]), ...finiteOr(c, [1, 1, 1, 1]), ...finiteOr(t, [0, 0])];
}

// aiMatrix4x4 * aiVector3D in 32-bit floats, term by term.
function transformPoint(m, [x, y, z]) {
  const row = (r) => f32(f32(f32(f32(m[r][0] * x) + f32(m[r][1] * y)) + f32(m[r][2] * z)) + m[r][3]);
  return [row(0), row(1), row(2)];
}

function transformNormal(m, [x, y, z]) {
  const row = (r) => f32(f32(f32(m[r][0] * x) + f32(m[r][1] * y)) + f32(m[r][2] * z));
  const v = [row(0), row(1), row(2)];
  const length = f32(Math.sqrt(f32(f32(f32(v[0] * v[0]) + f32(v[1] * v[1])) + f32(v[2] * v[2]))));
  return length > 0 ? v.map((c) => f32(c * f32(1 / length))) : v;
}

// Row-major 4 × 4 of a three.js matrix in 32-bit floats; none for identity.
function rowsOf(matrix) {
  if (matrix.equals(matrix.clone().identity())) return null;
  const e = matrix.elements;  // column-major
  return [0, 1, 2].map((r) => [0, 1, 2, 3].map((c) => f32(e[c * 4 + r])));
}

function normalRowsOf(matrix, three) {
  const normal = new three.Matrix3().getNormalMatrix(matrix).elements;  // inverse transpose, column-major
  return [0, 1, 2].map((r) => [0, 1, 2].map((c) => f32(normal[c * 3 + r])));
}

// The triangles of a geometry (index or sequential), with each group's
// material slot.
function trianglesOf(geometry) {
  const index = geometry.index;
  const count = index ? index.count : geometry.attributes.position.count;
  const groups = geometry.groups.length ? geometry.groups : [{ start: 0, count, materialIndex: 0 }];
  const out = [];
  for (const group of groups) {
    const end = Math.min(group.start + group.count, count);
    for (let k = group.start; k + 2 < end; k += 3) {
      const at = (j) => (index ? index.getX(k + j) : k + j);
      out.push([at(0), at(1), at(2), group.materialIndex ?? 0]);
    }
  }
  return out;
}

function colourOf(material) {
  const c = material?.color;
  return c ? [c.r, c.g, c.b, material.opacity ?? 1] : [1, 1, 1, 1];
}

function emissiveOf(material) {
  const e = material?.emissive;
  const k = material?.emissiveIntensity ?? 1;
  return e ? [e.r * k, e.g * k, e.b * k] : [0, 0, 0];
}

// The scene's records: vertices (12 numbers each), triangles, materials,
// textures ({width, height, rgba}).
class SceneBuilder {
  constructor() {
    this.declaredUp = NO_AXIS;
    this.vertices = [];
    this.triangles = [];
    this.materials = [];
    this.textures = [];
  }

  addMesh(geometry, matrix, materialOf, flipV, three) {
    if (!geometry.attributes.position) return;
    if (!geometry.attributes.normal) geometry.computeVertexNormals();
    const rows = rowsOf(matrix);
    const normalRows = rows ? normalRowsOf(matrix, three) : null;
    const base = this.vertices.length;
    const count = geometry.attributes.position.count;
    for (let i = 0; i < count; ++i) this.vertices.push(vertexOf(geometry, i, rows, normalRows, flipV));
    for (const [a, b, c, slot] of trianglesOf(geometry)) {
      if (a < count && b < count && c < count) this.triangles.push([base + a, base + b, base + c, materialOf(slot)]);
    }
  }

  bytes() {
    const textureBytes = this.textures.reduce((sum, t) => sum + 8 + t.rgba.length, 0);
    const size = HEADER_BYTES + this.vertices.length * VERTEX_BYTES + this.triangles.length * TRIANGLE_BYTES +
                 this.materials.length * MATERIAL_BYTES + textureBytes + AXES_BYTES;
    const buffer = new ArrayBuffer(size);
    const view = new DataView(buffer);
    let at = 0;
    const u32 = (v) => { view.setUint32(at, v, true); at += 4; };
    const i32 = (v) => { view.setInt32(at, v, true); at += 4; };
    const f = (v) => { view.setFloat32(at, v, true); at += 4; };
    [0x56, 0x4b, 0x53, 0x43].forEach((b) => view.setUint8(at++, b));  // "VKSC"
    [2, this.vertices.length, this.triangles.length, this.materials.length, this.textures.length].forEach(u32);
    for (const v of this.vertices) v.forEach(f);
    for (const t of this.triangles) t.forEach(u32);
    for (const m of this.materials) {
      m.baseColour.forEach(f);
      m.emissive.forEach(f);
      i32(m.texture);
      u32(m.doubleSided ? 0 : 1);
    }
    for (const t of this.textures) {
      u32(t.width);
      u32(t.height);
      new Uint8Array(buffer, at, t.rgba.length).set(t.rgba);
      at += t.rgba.length;
    }
    u32(this.declaredUp);
    u32(NO_AXIS);  // the front: none of three's loaders says where it points
    return new Uint8Array(buffer);
  }
}

function meshesOf(root) {
  const meshes = [];
  root.updateMatrixWorld(true);
  root.traverse((object) => { if (object.isMesh) meshes.push(object); });
  return meshes;
}

// glTF: materials from the file itself, as the desktop's loader reads them.
// `decodeTexture(imageIndex)` gives a texture's RGBA or null (left untextured).
export async function flattenGltf(gltf, decodeTexture, three) {
  const json = gltf.parser.json;
  const scene = new SceneBuilder();
  scene.declaredUp = POS_Y;  // glTF is +Y up by definition
  const textureOfImage = new Map();
  for (const m of json.materials ?? []) {
    const pbr = m.pbrMetallicRoughness ?? {};
    let texture = -1;
    const source = pbr.baseColorTexture ? json.textures?.[pbr.baseColorTexture.index]?.source : undefined;
    if (source !== undefined) {
      if (!textureOfImage.has(source)) {
        const decoded = await decodeTexture(source);
        textureOfImage.set(source, decoded ? scene.textures.push(decoded) - 1 : -1);
      }
      texture = textureOfImage.get(source);
    }
    scene.materials.push({
      baseColour: (pbr.baseColorFactor ?? [1, 1, 1, 1]).map(f32),
      emissive: (m.emissiveFactor ?? [0, 0, 0]).map(f32),
      texture,
      doubleSided: m.doubleSided === true,
    });
  }
  const fallback = scene.materials.length;
  scene.materials.push({ baseColour: [1, 1, 1, 1], emissive: [0, 0, 0], texture: -1, doubleSided: false });

  // Each primitive's material, in node order, then ordered by material.
  const parts = [];
  for (const mesh of meshesOf(gltf.scene)) {
    const where = gltf.parser.associations.get(mesh);
    const primitive = where?.meshes !== undefined ? json.meshes[where.meshes]?.primitives?.[where.primitives] : null;
    const material = primitive?.material ?? fallback;
    parts.push({ mesh, material: material < fallback ? material : fallback });
  }
  parts.sort((a, b) => a.material - b.material);  // stable: node order within a material
  for (const { mesh, material } of parts) {
    scene.addMesh(mesh.geometry, mesh.matrixWorld, () => material, true, three);
  }
  return scene.bytes();
}

// Any other format: three's materials, in the order they are first met, all
// double-sided as the desktop takes faces of formats that do not say.
// `declaredUp` is the up axis the loader brought the model to, if any.
export function flattenObject(root, three, declaredUp = NO_AXIS) {
  const scene = new SceneBuilder();
  scene.declaredUp = declaredUp;
  const index = new Map();
  const materialIndex = (material) => {
    if (!index.has(material)) {
      index.set(material, scene.materials.length);
      scene.materials.push({ baseColour: colourOf(material).map(f32), emissive: emissiveOf(material).map(f32),
                             texture: -1, doubleSided: true });  // these formats do not say: double-sided
    }
    return index.get(material);
  };
  for (const mesh of meshesOf(root)) {
    const materials = Array.isArray(mesh.material) ? mesh.material : [mesh.material];
    scene.addMesh(mesh.geometry, mesh.matrixWorld, (slot) => materialIndex(materials[slot] ?? materials[0]), false, three);
  }
  if (!scene.materials.length) scene.materials.push({ baseColour: [1, 1, 1, 1], emissive: [0, 0, 0], texture: -1, doubleSided: true });
  return scene.bytes();
}
