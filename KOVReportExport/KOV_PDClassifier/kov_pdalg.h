#ifndef KOV_PDALG_H
#define KOV_PDALG_H

// Numeric routines of the discharge classifier: the eight features of one
// period's phase bins, and the nearest-neighbour vote over a feature bank.
// The bank rows were made by KOV_FeatureExtraction; any change to its
// arithmetic invalidates every bank in the field.

// Features in bank column order (column 0 is the label).
enum { KOV_FEATURE_COUNT = 8, KOV_ROW_LEN = 1 + KOV_FEATURE_COUNT };

void KOV_Swap(float& a, float& b);
float KOV_FindMax(const float* a, int n, int& index);
float KOV_FindMin(const float* a, int n, int& index);

void KOV_FeatureMean(const float* a, int n, float& out);
void KOV_FeatureVariance(const float* a, int n, float mean, float& out);
void KOV_FeatureSkewness(const float* a, int n, float mean, float variance, float& out);
void KOV_FeatureKurtosis(const float* a, int n, float mean, float variance, float& out);
void KOV_RMS(const float* a, int n, float& out);
void KOV_FeatureCrestFactor(const float* a, int n, float max, float& out);
void KOV_FeatureLatitudeFactor(const float* a, int n, float max, float& out);
void KOV_FeatureShapeFactor(const float* a, int n, float rms, float& out);
void KOV_FeatureDynamic(const float* a, int n, float& out);
// Writes columns 1 to 8 of row.
void KOV_FeatureExtraction(const float* x, int n, float* row);

int KOV_PRPDFitting(const float* a, int n, int& shift);
void KOV_Rotation(float*& a, int n, int shift);

// Sorts keys ascending over positions lo..hi, moving values along.
int KOV_Partition(float* keys, float* values, int lo, int hi);
void KOV_QSort(float* keys, float* values, int lo, int hi);
void KOV_Sort(int n, float*& keys, float*& values);

// Scales every feature column of the n rows to 0..1 over all rows. False when
// a column has no range or a value that is not finite: no distance means
// anything then.
bool KOV_FeatureMapping(float** rows, int n, int cols);
// Distances of bank rows 0..n-2 to the query row n-1; the query's own is 100.
void KOV_AbstractDistance(float** rows, int n, int cols, float* dist);
// The class with most votes among the first k labels; ties go to the lower
// class, fewer than 2 classes answer 0.
int KOV_KNNPredict(const float* labels, int k, int classNum);
// The vote over the k nearest of n distances (the query's own last), as after
// sorting them with KOV_QSort; dist and labels may be reordered.
int KOV_VoteNearest(float* dist, float* labels, int n, int k, int classNum);
// Class of the query in row n-1 of rows (scaled in place); 0 when the rows
// cannot be compared.
int KOV_KNearestNeighbors(float** rows, int n, int cols, int classNum, int k);

#endif // KOV_PDALG_H
