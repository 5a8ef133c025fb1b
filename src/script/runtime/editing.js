
/* IDE! */
// Editing layer: placeholder until the runtime lands.
